#include "platform/framework/CRecoveryKeeper.h"

#include "platform/framework/CDocument.h"

#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// A copy at most this far behind the drawing, and never more than one writer started in it.
constexpr auto kInterval = 1000ms;
// How often a running writer is looked at.
constexpr int kPollMilliseconds = 50;
// A writer still at work after this long is stuck (a medium that stopped answering, or a lock
// another thread held at the fork): it is ended, and the next copy tries again.
constexpr auto kWriterLimit = std::chrono::seconds(60);

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string CRecoveryKeeper::DefaultFolder(const std::string& name) {
    // Relative values are to be ignored, as the XDG base directory rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/" + name;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
    }
    return std::string(home) + "/.local/state/" + name;
}

CRecoveryKeeper::CRecoveryKeeper(std::string folder)
    : m_folder(std::move(folder)), m_timer(std::make_unique<QTimer>()) {
    m_timer->setSingleShot(true);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { Tick(); });
}

CRecoveryKeeper::~CRecoveryKeeper() {
    m_timer->stop();
    ReleaseSlot(false);
}

void CRecoveryKeeper::EndNormally() {
    m_timer->stop();
    ReleaseSlot(true);
    m_pDocument = nullptr;
}

std::string CRecoveryKeeper::PathOf(const std::string& id, const char* suffix) const {
    return m_folder + "/" + id + suffix;
}

std::string CRecoveryKeeper::CopyPath() const {
    return m_id.empty() ? std::string() : PathOf(m_id, ".drawing");
}

void CRecoveryKeeper::OnModifiedFlag(CDocument& document, bool bModified) {
    if (!bModified) {
        if (&document == m_pDocument)
            Discard();
        return;
    }
    // The copy on the disk is of the document watched until now; a recovered one adopted
    // before its document said a word is that document's.
    if (&document != m_pDocument) {
        if (m_pDocument != nullptr)
            Discard();
        m_pDocument = &document;
    }
    if (!m_timer->isActive())
        Schedule(0);
}

void CRecoveryKeeper::OnDocumentGone(const CDocument& document) {
    if (&document != m_pDocument)
        return;
    // Documents also go when the process ends by exit(), as Qt ends it when the display's
    // connection breaks with the desktop session: their copies stay for the next start. The
    // writer has a document of its own in its image of the process.
    m_timer->stop();
    m_pDocument = nullptr;
}

void CRecoveryKeeper::Discard() {
    m_timer->stop();
    StopWriter();
    RemoveCopy();
}

void CRecoveryKeeper::Schedule(int milliseconds) {
    m_timer->start(milliseconds < 0 ? 0 : milliseconds);
}

void CRecoveryKeeper::Tick() {
    if (m_writer > 0 && !ReapWriter(false)) {
        if (std::chrono::steady_clock::now() - m_lastStart > kWriterLimit)
            ::kill(m_writer, SIGKILL);
        Schedule(kPollMilliseconds);
        return;
    }
    if (m_pDocument == nullptr || !m_pDocument->IsModified() ||
        (m_bHasCopy && m_pDocument->GetModificationCount() == m_writtenGeneration))
        return;
    // Copies land about a second apart: a writer that took long starts its successor sooner,
    // as soon as it is done when it took a second or more.
    const auto due = m_lastStart + kInterval -
                     std::min<std::chrono::steady_clock::duration>(m_lastDuration, kInterval);
    const auto now = std::chrono::steady_clock::now();
    if (now < due) {
        Schedule(int(std::chrono::ceil<std::chrono::milliseconds>(due - now).count()));
        return;
    }
    m_lastStart = now;
    m_lastDuration = {};
    StartWriter();
    // A writer is looked at until it ends; a failed start is tried again after the interval.
    Schedule(m_writer > 0 ? kPollMilliseconds : int(kInterval.count()));
}

bool CRecoveryKeeper::ReapWriter(bool bWait) {
    if (m_writer <= 0)
        return true;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(m_writer, &status, bWait ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0)
        return false;
    m_writer = -1;
    m_lastDuration = std::chrono::steady_clock::now() - m_lastStart;
    // A child reaped elsewhere (done < 0) told nothing: its copy cannot be trusted.
    const bool ok = done > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ok) {
        m_writtenGeneration = m_writerGeneration;
        m_bHasCopy = true;
    } else {
        m_bInfoWritten = false;
    }
    Report(ok);
    return true;
}

void CRecoveryKeeper::StopWriter() {
    if (m_writer <= 0)
        return;
    // A copy being written for a drawing that ended normally is not wanted. Waiting makes
    // sure that no rename of the child's lands after the copy is removed.
    ::kill(m_writer, SIGKILL);
    int status = 0;
    while (::waitpid(m_writer, &status, 0) < 0 && errno == EINTR) {
    }
    m_writer = -1;
}

void CRecoveryKeeper::Report(bool bKept) {
    if (bKept == m_bKept)
        return;
    m_bKept = bKept;
    if (m_onKeptChanged)
        m_onKeptChanged(bKept);
}

bool CRecoveryKeeper::CreateSlot() {
    if (m_lockFd >= 0)
        return true;
    if (!MakeFolders(m_folder))
        return false;
    std::random_device device;
    std::mt19937_64 rng((std::uint64_t(device()) << 32) ^ device());
    for (int attempt = 0; attempt < 20; ++attempt) {
        char id[48];
        std::snprintf(id, sizeof id, "%d-%016llx", int(::getpid()),
                      static_cast<unsigned long long>(rng()));
        // The lock is taken before the file carries its final name: a program starting now
        // never sees an unlocked slot that is alive.
        const std::string fresh = PathOf(id, ".lock-new");
        const int fd = ::open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        const bool linked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                            ::link(fresh.c_str(), PathOf(id, ".lock").c_str()) == 0;
        const int err = errno;
        ::unlink(fresh.c_str());
        if (linked) {
            m_id = id;
            m_lockFd = fd;
            m_bInfoWritten = false;
            return true;
        }
        ::close(fd);
        // Another program's start may have cleared the new file as a dead one's: try again.
        if (err != EEXIST && err != ENOENT && err != EWOULDBLOCK)
            return false;
    }
    return false;
}

void CRecoveryKeeper::RemoveCopy() {
    m_bHasCopy = false;
    m_bInfoWritten = false;
    if (m_id.empty())
        return;
    for (const char* suffix : {".drawing", ".info", ".drawing.tmp", ".info.tmp"})
        ::unlink(PathOf(m_id, suffix).c_str());
}

void CRecoveryKeeper::ReleaseSlot(bool bRemove) {
    StopWriter();
    if (bRemove) {
        RemoveCopy();
        if (!m_id.empty())
            ::unlink(PathOf(m_id, ".lock").c_str());
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    m_lockFd = -1;
    m_id.clear();
    m_bHasCopy = false;
    m_bInfoWritten = false;
}

bool CRecoveryKeeper::FlushForTesting() {
    m_timer->stop();
    ReapWriter(true);
    if (m_pDocument != nullptr && m_pDocument->IsModified() &&
        !(m_bHasCopy && m_pDocument->GetModificationCount() == m_writtenGeneration)) {
        m_lastStart = std::chrono::steady_clock::now();
        StartWriter();
        ReapWriter(true);
    }
    return m_bHasCopy && m_pDocument != nullptr &&
           m_pDocument->GetModificationCount() == m_writtenGeneration;
}
