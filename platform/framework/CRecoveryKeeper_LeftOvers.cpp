// The copies that programs left behind when they ended without warning. The folder is read as
// untrusted input: names, owners, links and sizes are checked, every name is taken relative to
// the folder without following a link, and a slot is looked at only once its lock is ours.

#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/internal/RecoveryInfo.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool EndsWith(std::string_view name, std::string_view suffix) {
    return name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

// Damaged copies kept for the user to look at go after this long.
constexpr std::time_t kKeptFor = 30 * 24 * 60 * 60;

bool Later(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// The path the slot's info names; an untitled drawing when the info is missing or damaged,
// which still lets the drawing itself be recovered.
std::string ReadInfo(int dirFd, const std::string& name) {
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
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

// The original path as a name the drawing may be saved under again: absolute and normal, and
// naming a regular file or nothing yet. Anything else came from somewhere other than this
// program, and the drawing is offered as untitled.
bool IsFitOriginal(const std::string& path, const timespec& copied, bool& bChanged) {
    bChanged = false;
    if (path.empty() || path.front() != '/' || path.back() == '/' ||
        std::filesystem::path(path).lexically_normal().string() != path)
        return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode))
        return false;
    bChanged = Later(st.st_mtim, copied);
    return true;
}

// Takes the lock of a slot whose program is gone. The file must still be the one the name
// leads to: a program that deleted the slot meanwhile let go of a file no longer there. A
// slot of another user is none of this program's business.
int ClaimLock(int dirFd, const std::string& name) {
    const int fd = ::openat(dirFd, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || held.st_uid != ::geteuid() ||
        ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(held.st_mode) || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::vector<CRecoveryKeeper::LeftOver> CRecoveryKeeper::ClaimLeftOvers() {
    std::vector<LeftOver> result;
    if (!OpenFolder(false))
        return result;
    const int listFd = ::dup(m_dirFd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (dir == nullptr) {
        if (listFd >= 0)
            ::close(listFd);
        return result;
    }
    ::rewinddir(dir);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    const auto named = [&](const std::string& name) {
        return std::binary_search(names.begin(), names.end(), name);
    };
    const std::time_t now = std::time(nullptr);

    for (const std::string& name : names) {
        // A damaged copy that was kept has no lock; after a month nobody looks at it any more.
        if (EndsWith(name, ".drawing")) {
            const std::string id = name.substr(0, name.size() - 8);
            struct stat st {};
            if (!named(id + ".lock") && !named(id + ".lock-new") &&
                ::fstatat(m_dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                st.st_uid == ::geteuid() && st.st_mtim.tv_sec < now - kKeptFor)
                RemoveNames(id, {".drawing", ".info"});
            continue;
        }
        const bool fresh = EndsWith(name, ".lock-new");
        if (!fresh && !EndsWith(name, ".lock"))
            continue;
        const std::string id = name.substr(0, name.rfind('.'));
        if (id == m_id)
            continue;
        const int fd = ClaimLock(m_dirFd, name);
        if (fd < 0)
            continue;
        // A slot that was never named is one whose program died while making it.
        if (fresh) {
            ::unlinkat(m_dirFd, name.c_str(), 0);
            ::close(fd);
            continue;
        }
        // What a writer left half done is never the copy.
        RemoveNames(id, {".drawing.tmp", ".info.tmp"});
        LeftOver leftOver;
        leftOver.id = id;
        leftOver.drawingPath = PathOf(id, ".drawing");
        leftOver.lockFd = fd;
        struct stat st {};
        if (::fstatat(m_dirFd, (id + ".drawing").c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode)) {
            // A program that ended with no changes, or a damaged slot: nothing to offer.
            Delete(leftOver);
            continue;
        }
        if (st.st_uid != ::geteuid()) {
            Release(leftOver);
            continue;
        }
        leftOver.time = st.st_mtim.tv_sec;
        leftOver.originalPath = ReadInfo(m_dirFd, id + ".info");
        if (!IsFitOriginal(leftOver.originalPath, st.st_mtim, leftOver.bOriginalChanged))
            leftOver.originalPath.clear();
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
    RemoveNames(leftOver.id, {".drawing", ".info", ".drawing.tmp", ".info.tmp", ".lock"});
    Release(leftOver);
}

void CRecoveryKeeper::Keep(LeftOver& leftOver) {
    if (leftOver.lockFd < 0)
        return;
    RemoveNames(leftOver.id, {".lock"});
    Release(leftOver);
}

void CRecoveryKeeper::Release(LeftOver& leftOver) {
    if (leftOver.lockFd >= 0)
        ::close(leftOver.lockFd);
    leftOver.lockFd = -1;
}
