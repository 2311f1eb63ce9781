// The copies that programs left behind when they ended without warning. The folder is read as
// untrusted input: names, links and sizes are checked, and a slot is looked at only once its
// lock is ours.

#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/internal/RecoveryInfo.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool EndsWith(std::string_view name, std::string_view suffix) {
    return name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

// The path the slot's info names; an untitled drawing when the info is missing or damaged,
// which still lets the drawing itself be recovered.
std::string ReadInfo(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        std::uint64_t(st.st_size) <= RecoveryInfo::kMaxSize) {
        bytes.resize(std::size_t(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        bytes.resize(done);
    }
    ::close(fd);
    return RecoveryInfo::Decode(bytes).value_or(std::string());
}

// Takes the lock of a slot whose program is gone. The file must still be the one the name
// leads to: a program that deleted the slot meanwhile let go of a file no longer there.
int ClaimLock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat held {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
        ::lstat(path.c_str(), &named) != 0 || !S_ISREG(held.st_mode) ||
        held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::vector<CRecoveryKeeper::LeftOver> CRecoveryKeeper::ClaimLeftOvers() {
    std::vector<LeftOver> result;
    DIR* dir = ::opendir(m_folder.c_str());
    if (dir == nullptr)
        return result;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);

    for (const std::string& name : names) {
        const bool fresh = EndsWith(name, ".lock-new");
        if (!fresh && !EndsWith(name, ".lock"))
            continue;
        const std::string id = name.substr(0, name.rfind('.'));
        if (id == m_id)
            continue;
        const std::string lockPath = PathOf(id, fresh ? ".lock-new" : ".lock");
        const int fd = ClaimLock(lockPath);
        if (fd < 0)
            continue;
        // A slot that was never named is one whose program died while making it.
        if (fresh) {
            ::unlink(lockPath.c_str());
            ::close(fd);
            continue;
        }
        // What a writer left half done is never the copy.
        ::unlink(PathOf(id, ".drawing.tmp").c_str());
        ::unlink(PathOf(id, ".info.tmp").c_str());
        LeftOver leftOver;
        leftOver.id = id;
        leftOver.drawingPath = PathOf(id, ".drawing");
        leftOver.lockFd = fd;
        struct stat st {};
        if (::lstat(leftOver.drawingPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            // A program that ended with no changes, or a damaged slot: nothing to offer.
            Delete(leftOver);
            continue;
        }
        leftOver.time = st.st_mtim.tv_sec;
        leftOver.originalPath = ReadInfo(PathOf(id, ".info"));
        result.push_back(std::move(leftOver));
    }
    std::sort(result.begin(), result.end(),
              [](const LeftOver& a, const LeftOver& b) { return a.time > b.time; });
    return result;
}

void CRecoveryKeeper::Adopt(LeftOver& leftOver) {
    if (leftOver.lockFd < 0)
        return;
    ReleaseSlot(true);
    m_id = leftOver.id;
    m_lockFd = leftOver.lockFd;
    leftOver.lockFd = -1;
    // The copy on the disk is the drawing as it is now recovered; it stays until a newer one
    // replaces it.
    m_bHasCopy = true;
    m_bInfoWritten = false;
}

void CRecoveryKeeper::Delete(LeftOver& leftOver) {
    if (leftOver.lockFd < 0)
        return;
    // The lock file goes last, while it is still held: a program that opened it meanwhile
    // finds it gone once it gets the lock.
    for (const char* suffix : {".drawing", ".info", ".drawing.tmp", ".info.tmp", ".lock"})
        ::unlink(PathOf(leftOver.id, suffix).c_str());
    Release(leftOver);
}

void CRecoveryKeeper::Keep(LeftOver& leftOver) {
    if (leftOver.lockFd < 0)
        return;
    ::unlink(PathOf(leftOver.id, ".lock").c_str());
    Release(leftOver);
}

void CRecoveryKeeper::Release(LeftOver& leftOver) {
    if (leftOver.lockFd >= 0)
        ::close(leftOver.lockFd);
    leftOver.lockFd = -1;
}
