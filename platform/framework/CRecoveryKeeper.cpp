#include "platform/framework/CRecoveryKeeper.h"

#include "platform/framework/CDocument.h"

#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
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
// Copies that keep failing (a full disk, a folder made read-only) are tried less and less
// often, up to this far apart.
constexpr auto kLongestRetry = std::chrono::milliseconds(60000);

// A launcher may pass on SIGCHLD ignored, or with its children not to be waited for: the
// kernel then reaps the writers itself and waitpid can tell nothing of how a copy went.
void KeepChildStatus() {
    struct sigaction current {};
    if (::sigaction(SIGCHLD, nullptr, &current) != 0)
        return;
    const bool ignored = (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN;
    if (!ignored && (current.sa_flags & SA_NOCLDWAIT) == 0)
        return;
    if (ignored)
        current.sa_handler = SIG_DFL;
    current.sa_flags &= ~SA_NOCLDWAIT;
    ::sigaction(SIGCHLD, &current, nullptr);
}

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
    KeepChildStatus();
    m_timer->setSingleShot(true);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { Tick(); });
}

CRecoveryKeeper::~CRecoveryKeeper() {
    m_timer->stop();
    ReleaseSlot(false);
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

bool CRecoveryKeeper::OpenFolder(bool bCreate) {
    if (m_dirFd >= 0)
        return true;
    if (bCreate && !MakeFolders(m_folder))
        return false;
    const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Another user's folder, or one that others can look into, would let them read the
    // drawings or plant files for this program to trust. A folder of the user's own that is
    // too open is closed; any other is refused.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        ((st.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0)) {
        ::close(fd);
        return false;
    }
    m_dirFd = fd;
    return true;
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
    // A change after failed copies is tried again as soon as the interval allows, not after
    // the longer wait the failures had set.
    if (m_failures > 0) {
        m_failures = 0;
        if (m_writer <= 0)
            m_timer->stop();
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
    // writer has a document of its own in its image of the process; it is still waited for,
    // so that it does not stay a zombie until the program ends.
    m_pDocument = nullptr;
    if (m_writer > 0)
        Schedule(kPollMilliseconds);
    else
        m_timer->stop();
}

void CRecoveryKeeper::Discard() {
    m_timer->stop();
    // The slot goes with the copy: a program then killed with nothing unsaved leaves nothing
    // that a later start would have to clear.
    ReleaseSlot(true);
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
    // as soon as it is done when it took a second or more. Failures wait longer.
    const auto due =
        m_failures > 0
            ? m_lastStart + GetRetryDelay()
            : m_lastStart + kInterval -
                  std::min<std::chrono::steady_clock::duration>(m_lastDuration, kInterval);
    const auto now = std::chrono::steady_clock::now();
    if (now < due) {
        Schedule(int(std::chrono::ceil<std::chrono::milliseconds>(due - now).count()));
        return;
    }
    m_lastStart = now;
    m_lastDuration = {};
    StartWriter();
    // A writer is looked at until it ends; a failed start is tried again after the delay.
    Schedule(m_writer > 0 ? kPollMilliseconds : int(GetRetryDelay().count()));
}

std::chrono::milliseconds CRecoveryKeeper::GetRetryDelay() const {
    if (m_failures == 0)
        return kInterval;
    const unsigned doublings = std::min(m_failures - 1, 16u);
    return std::min<std::chrono::milliseconds>(kInterval * (1u << doublings), kLongestRetry);
}

void CRecoveryKeeper::Failed() {
    if (m_failures < std::numeric_limits<unsigned>::max())
        ++m_failures;
    Report(false);
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
    if (!ok) {
        m_bInfoWritten = false;
        Failed();
        return true;
    }
    m_writtenGeneration = m_writerGeneration;
    m_bHasCopy = true;
    m_failures = 0;
    Report(true);
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
    if (!OpenFolder(true))
        return false;
    std::random_device device;
    std::mt19937_64 rng((std::uint64_t(device()) << 32) ^ device());
    for (int attempt = 0; attempt < 20; ++attempt) {
        char id[48];
        std::snprintf(id, sizeof id, "%d-%016llx", int(::getpid()),
                      static_cast<unsigned long long>(rng()));
        // The lock is taken before the file carries its final name: a program starting now
        // never sees an unlocked slot that is alive.
        const std::string fresh = std::string(id) + ".lock-new";
        const int fd = ::openat(m_dirFd, fresh.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        const std::string lock = std::string(id) + ".lock";
        const bool linked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                            ::linkat(m_dirFd, fresh.c_str(), m_dirFd, lock.c_str(), 0) == 0;
        const int err = errno;
        ::unlinkat(m_dirFd, fresh.c_str(), 0);
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
    RemoveNames(m_id, {".drawing", ".info", ".drawing.tmp", ".info.tmp"});
}

void CRecoveryKeeper::RemoveNames(const std::string& id,
                                  std::initializer_list<const char*> suffixes) const {
    if (m_dirFd < 0)
        return;
    for (const char* suffix : suffixes)
        ::unlinkat(m_dirFd, (id + suffix).c_str(), 0);
}

void CRecoveryKeeper::ReleaseSlot(bool bRemove) {
    StopWriter();
    if (bRemove) {
        RemoveCopy();
        if (!m_id.empty())
            RemoveNames(m_id, {".lock"});
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
