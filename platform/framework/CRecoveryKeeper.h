#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class CDocument;
class QTimer;

// Keeps a recovery copy of the document with unsaved changes, so that a program that is killed,
// crashes or loses its power loses at most about the last second of work.
//
// About once a second, while the document has changes that no copy holds, the process forks:
// the child sees the whole program as it was at that instant, without the user-interface thread
// copying anything, writes the document's own file bytes through Serialize beside the previous
// copy, syncs them and puts them in its place, and exits. The window never waits for the disk;
// the parent learns the outcome from the child's exit status.
//
// Every running program has a slot of its own in the folder, named by an id:
//   ID.lock     held with flock for the program's whole life; the kernel lets go of it when the
//               process dies, which is how a later start tells a left-over copy from a live one
//   ID.drawing  the copy: exactly the bytes a save would write; its modification time is the
//               instant the copy shows
//   ID.info     the document's path (none when untitled)
// A slot whose lock file is gone but whose drawing stays is one that could not be read back: it
// is kept for the user to look at, never offered again, and removed after 30 days.
//
// The folder must be the user's own, not a link, and closed to others (it is made so when it
// is the user's); it is opened once and every name in it is taken relative to it, never
// following a link. A program whose folder fails that keeps no copies and says so.
class CRecoveryKeeper {
public:
    // $XDG_STATE_HOME/NAME, or ~/.local/state/NAME when that is not set.
    static std::string DefaultFolder(const std::string& name);

    explicit CRecoveryKeeper(std::string folder);
    CRecoveryKeeper(const CRecoveryKeeper&) = delete;
    CRecoveryKeeper& operator=(const CRecoveryKeeper&) = delete;
    // Lets go of the slot as a killed program would: whatever copy there is stays for the next
    // start. Only EndNormally removes it.
    ~CRecoveryKeeper();
    // The program ends normally, the user having saved or declined to save: the copy and the
    // slot go.
    void EndNormally();

    const std::string& GetFolder() const { return m_folder; }

    // A copy left by a program that no longer runs. Claiming it takes its lock, so that no
    // other program starting at the same time offers it too; the claim lasts until the copy is
    // adopted, deleted, kept or released.
    struct LeftOver {
        std::string id;
        std::string drawingPath;
        std::string originalPath; // empty for an untitled drawing
        std::time_t time = 0;     // the instant the copy shows
        // The original file was written after the copy: saving over it needs asking.
        bool bOriginalChanged = false;
        int lockFd = -1;
    };
    // The left-over copies of this user, newest first. Slots of dead programs that hold no copy
    // are cleared on the way, and damaged copies kept longer than 30 days are removed. An
    // original path that is not absolute and normal, or that names something other than a
    // regular file, is dropped: the drawing is then offered as untitled.
    std::vector<LeftOver> ClaimLeftOvers();
    // Recovered: the slot becomes this program's own, and the copy is replaced as the document
    // changes, so that no instant passes without one on the disk.
    void Adopt(LeftOver& leftOver);
    // Declined: the copy is deleted.
    void Delete(LeftOver& leftOver);
    // Unreadable: the copy stays where it is for the user to look at, never offered again.
    void Keep(LeftOver& leftOver);
    // Not offered this time: it stays for the next start.
    static void Release(LeftOver& leftOver);

    // The document tells of every change of its modified flag. A set flag schedules a copy; a
    // cleared one (saved, new, opened) removes the copy. A document that goes away keeps its
    // copy: how the program ends decides.
    void OnModifiedFlag(CDocument& document, bool bModified);
    void OnDocumentGone(const CDocument& document);
    // The document ended normally: no copy of it is wanted any more.
    void Discard();

    // Told once when copies cannot be kept (false), and once when a copy was written again
    // (true).
    std::function<void(bool bKept)> m_onKeptChanged;

    // The path of this program's copy; the document's modification count that the copy on
    // the disk holds (0 when there is none); whether a writer is running now.
    std::string CopyPath() const;
    std::uint64_t GetCopiedModificationCount() const {
        return m_bHasCopy ? m_writtenGeneration : 0;
    }
    bool IsWriterRunning() const { return m_writer > 0; }
    // How long after the last attempt the next copy is tried: the interval, doubled after each
    // failure in a row up to a minute, and the interval again after the next change.
    std::chrono::milliseconds GetRetryDelay() const;

    // Steps of a copy's replacement, where tests can stop the child as if the process died.
    enum class Step { TempWritten, TempSynced, Renamed, FolderSynced };
    using StepHook = std::function<void(Step)>;
    static void SetStepHookForTesting(StepHook hook);
    // Waits for the running writer, then writes at once if the document has changes that no
    // copy holds, and waits for that too; true when a copy of the latest changes is on disk.
    bool FlushForTesting();

private:
    std::string m_folder;
    int m_dirFd = -1; // the folder, once checked
    CDocument* m_pDocument = nullptr;
    std::string m_id;   // this program's slot; empty until the first copy
    int m_lockFd = -1;  // held while the slot is ours
    std::string m_info; // the path the slot's info names, once written
    bool m_bInfoWritten = false;
    pid_t m_writer = -1;
    std::uint64_t m_writerGeneration = 0;
    std::uint64_t m_writtenGeneration = 0;
    bool m_bHasCopy = false;
    bool m_bKept = true;
    unsigned m_failures = 0; // attempts that failed in a row
    std::chrono::steady_clock::time_point m_lastStart{};
    std::chrono::steady_clock::duration m_lastDuration{};
    std::unique_ptr<QTimer> m_timer;

    // Opens the folder once, making it when bCreate; false when it is missing or not safe.
    bool OpenFolder(bool bCreate);
    void Tick();
    void Failed();
    void Schedule(int milliseconds);
    bool CreateSlot();
    void StartWriter();
    // True when no writer runs any more; with bWait, waits for it.
    bool ReapWriter(bool bWait);
    void StopWriter();
    void RemoveCopy();
    void ReleaseSlot(bool bRemove);
    void RemoveNames(const std::string& id, std::initializer_list<const char*> suffixes) const;
    void Report(bool bKept);
    std::string PathOf(const std::string& id, const char* suffix) const;
};
