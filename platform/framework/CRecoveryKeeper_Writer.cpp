// The writer of a recovery copy: a forked child of the program. It runs on a copy-on-write
// image of the whole process, so it reads the document as it was at the fork without the
// user-interface thread copying a byte. Only the calling thread exists in the child, and locks
// that other threads held at the fork stay held for ever: it touches no Qt object, no
// connection to the display and no logging, only the document, the archive and plain system
// calls, and it leaves with _exit.

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

CRecoveryKeeper::StepHook& Hook() {
    static CRecoveryKeeper::StepHook hook;
    return hook;
}

void Reached(CRecoveryKeeper::Step step) {
    if (Hook())
        Hook()(step);
}

struct Job {
    pid_t parent = -1;
    int lockFd = -1;
    std::string folder;
    std::string drawing;
    std::string drawingTemp;
    bool bWriteInfo = false;
    std::string info;
    std::string infoTemp;
    std::string infoBytes;
    timespec shown{};
};

// Writes a new file beside the target, syncs it and gives it the target's name: the previous
// copy stays whole until the new one is on the disk.
template <typename Fill>
void WriteReplacing(const std::string& temp, const std::string& target, const timespec* shown,
                    Fill fill) {
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        throw AfxFileExceptionFromErrno(errno, temp);
    CFile file(fd, temp);
    fill(file);
    Reached(CRecoveryKeeper::Step::TempWritten);
    if (shown != nullptr) {
        const timespec times[2] = {{0, UTIME_OMIT}, *shown};
        ::futimens(fd, times);
    }
    if (AfxFileSystemCalls().fdatasync(fd) != 0)
        throw AfxFileExceptionFromErrno(errno, temp);
    Reached(CRecoveryKeeper::Step::TempSynced);
    file.Close();
    if (AfxFileSystemCalls().rename(temp.c_str(), target.c_str()) != 0)
        throw AfxFileExceptionFromErrno(errno, temp);
    Reached(CRecoveryKeeper::Step::Renamed);
}

[[noreturn]] void RunWriter(const Job& job, CDocument& document) {
    // The writer goes with the program: a copy finished after the program died could land
    // after a later start has dealt with the slot.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != job.parent)
        ::_exit(2);
    // Only the program holds its slot's lock.
    ::close(job.lockFd);
    // The window comes first on a busy machine.
    ::setpriority(PRIO_PROCESS, 0, 10);
    try {
        if (job.bWriteInfo) {
            WriteReplacing(job.infoTemp, job.info, nullptr, [&](CFile& file) {
                file.Write(job.infoBytes.data(), job.infoBytes.size());
            });
        }
        WriteReplacing(job.drawingTemp, job.drawing, &job.shown, [&](CFile& file) {
            CArchive ar(&file, CArchive::store);
            document.Serialize(ar);
            ar.Close();
        });
        const int dirFd = ::open(job.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0 || ::fsync(dirFd) != 0)
            ::_exit(1);
        Reached(CRecoveryKeeper::Step::FolderSynced);
    } catch (...) {
        ::_exit(1);
    }
    ::_exit(0);
}

} // namespace

void CRecoveryKeeper::SetStepHookForTesting(StepHook hook) {
    Hook() = std::move(hook);
}

void CRecoveryKeeper::StartWriter() {
    if (m_pDocument == nullptr)
        return;
    if (!CreateSlot()) {
        Report(false);
        return;
    }
    // Everything the child needs is made here: the child allocates as little as it can.
    Job job;
    job.parent = ::getpid();
    job.lockFd = m_lockFd;
    job.folder = m_folder;
    job.drawing = PathOf(m_id, ".drawing");
    job.drawingTemp = PathOf(m_id, ".drawing.tmp");
    const std::string& pathName = m_pDocument->GetPathName();
    job.bWriteInfo = !m_bInfoWritten || m_info != pathName;
    if (job.bWriteInfo) {
        job.info = PathOf(m_id, ".info");
        job.infoTemp = PathOf(m_id, ".info.tmp");
        job.infoBytes = RecoveryInfo::Encode(pathName);
    }
    ::clock_gettime(CLOCK_REALTIME, &job.shown);
    const std::uint64_t generation = m_pDocument->GetModificationCount();

    const pid_t pid = ::fork();
    if (pid == 0)
        RunWriter(job, *m_pDocument);
    if (pid < 0) {
        Report(false);
        return;
    }
    m_writer = pid;
    m_writerGeneration = generation;
    if (job.bWriteInfo) {
        m_info = pathName;
        m_bInfoWritten = true;
    }
}
