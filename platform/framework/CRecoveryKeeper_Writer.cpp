// The writer of a recovery copy: a forked child of the program. It runs on a copy-on-write
// image of the whole process, so it reads the document as it was at the fork without the
// user-interface thread copying a byte. Only the calling thread exists in the child, and locks
// that other threads held at the fork stay held for ever: it touches no Qt object, no
// connection to the display and no logging, initialises no static, allocates nothing and
// throws nothing of its own; it reads the document, writes through plain system calls into a
// buffer made before the fork, reports by its exit status and leaves with _exit.

#include "platform/framework/CArchive.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFile.h"
#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/internal/RecoveryInfo.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Set before any copy is written; the child only reads it.
CRecoveryKeeper::StepHook g_stepHook;

void Reached(CRecoveryKeeper::Step step) {
    if (g_stepHook)
        g_stepHook(step);
}

// A file that remembers a failed write instead of throwing, and takes no further bytes after
// one: the archive over it can store a whole document with nothing thrown, and the writer
// asks at the end.
class CopySink : public CFile {
public:
    void Attach(int fd) { m_fd = fd; }
    bool Failed() const { return m_bFailed; }

    void Write(const void* pBuf, std::size_t nCount) override {
        const auto* p = static_cast<const char*>(pBuf);
        while (nCount > 0 && !m_bFailed) {
            const ssize_t n = AfxFileSystemCalls().write(m_fd, p, nCount);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_bFailed = true;
                break;
            }
            p += n;
            nCount -= std::size_t(n);
        }
    }
    void Flush() override {}
    void Close() override {
        if (m_fd >= 0 && ::close(m_fd) != 0)
            m_bFailed = true;
        m_fd = -1;
    }

private:
    bool m_bFailed = false;
};

struct Job {
    pid_t parent = -1;
    int lockFd = -1;
    int dirFd = -1;
    std::string drawing;
    std::string drawingTemp;
    bool bWriteInfo = false;
    std::string info;
    std::string infoTemp;
    std::string infoBytes;
    timespec shown{};
};

// Writes a new file beside the target, syncs it and gives it the target's name: the previous
// copy stays whole until the new one is on the disk. A file left by a writer that died is
// emptied first, so that no byte of it outlives a shorter copy.
template <typename Fill>
bool WriteReplacing(const Job& job, const std::string& temp, const std::string& target,
                    const timespec* shown, Fill fill) {
    const int fd = ::openat(job.dirFd, temp.c_str(),
                            O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    CopySink file;
    file.Attach(fd);
    if (!fill(file) || file.Failed())
        return false;
    Reached(CRecoveryKeeper::Step::TempWritten);
    if (shown != nullptr) {
        const timespec times[2] = {{0, UTIME_OMIT}, *shown};
        ::futimens(fd, times);
    }
    if (AfxFileSystemCalls().fdatasync(fd) != 0)
        return false;
    Reached(CRecoveryKeeper::Step::TempSynced);
    file.Close();
    if (file.Failed() ||
        AfxFileSystemCalls().renameat(job.dirFd, temp.c_str(), job.dirFd, target.c_str()) != 0)
        return false;
    Reached(CRecoveryKeeper::Step::Renamed);
    return true;
}

[[noreturn]] void RunWriter(const Job& job, CDocument& document, CArchive& ar, CopySink& sink) {
    // The writer goes with the program: a copy finished after the program died could land
    // after a later start has dealt with the slot.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != job.parent)
        ::_exit(2);
    // Only the program holds its slot's lock.
    ::close(job.lockFd);
    // The window comes first on a busy machine.
    ::setpriority(PRIO_PROCESS, 0, 10);
    if (job.bWriteInfo &&
        !WriteReplacing(job, job.infoTemp, job.info, nullptr, [&](CopySink& file) {
            file.Write(job.infoBytes.data(), job.infoBytes.size());
            return true;
        }))
        ::_exit(1);
    if (!WriteReplacing(job, job.drawingTemp, job.drawing, &job.shown, [&](CopySink& file) {
            sink.Attach(file.GetHandle());
            // The document's own code decides what it stores; should it throw, the copy is
            // simply not made.
            bool stored = true;
            try {
                document.Serialize(ar);
                ar.Flush();
            } catch (...) {
                stored = false;
            }
            sink.Attach(-1);
            return stored && !sink.Failed();
        }))
        ::_exit(1);
    if (AfxFileSystemCalls().fsync(job.dirFd) != 0)
        ::_exit(1);
    Reached(CRecoveryKeeper::Step::FolderSynced);
    ::_exit(0);
}

} // namespace

void CRecoveryKeeper::SetStepHookForTesting(StepHook hook) {
    g_stepHook = std::move(hook);
}

void CRecoveryKeeper::StartWriter() {
    if (m_pDocument == nullptr)
        return;
    if (!CreateSlot()) {
        Failed();
        return;
    }
    // Everything the child needs is made here: the child allocates nothing and initialises
    // no static, either of which may wait for a lock that another thread held at the fork.
    Job job;
    job.parent = ::getpid();
    job.lockFd = m_lockFd;
    job.dirFd = m_dirFd;
    job.drawing = m_id + ".drawing";
    job.drawingTemp = m_id + ".drawing.tmp";
    const std::string& pathName = m_pDocument->GetPathName();
    job.bWriteInfo = !m_bInfoWritten || m_info != pathName;
    if (job.bWriteInfo) {
        job.info = m_id + ".info";
        job.infoTemp = m_id + ".info.tmp";
        job.infoBytes = RecoveryInfo::Encode(pathName);
    }
    ::clock_gettime(CLOCK_REALTIME, &job.shown);
    const std::uint64_t generation = m_pDocument->GetModificationCount();
    AfxFileSystemCalls();
    CopySink sink;
    CArchive ar(&sink, CArchive::store);

    const pid_t pid = ::fork();
    if (pid == 0)
        RunWriter(job, *m_pDocument, ar, sink);
    ar.Abort();
    if (pid < 0) {
        Failed();
        return;
    }
    m_writer = pid;
    m_writerGeneration = generation;
    if (job.bWriteInfo) {
        m_info = pathName;
        m_bInfoWritten = true;
    }
}
