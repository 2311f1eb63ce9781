#include "platform/framework/AfxWriteWholeFile.h"

#include "platform/framework/CFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& pathName) {
    const auto slash = pathName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : pathName.substr(0, slash);
}

std::string ResolvedTarget(const std::string& pathName) {
    struct stat st {};
    if (::lstat(pathName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return pathName;
    char* resolved = ::realpath(pathName.c_str(), nullptr);
    if (resolved == nullptr)
        return pathName;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string CauseOf(const CFileException& e) {
    const std::string detail = e.m_strDetail.empty() ? "an error of the system" : e.m_strDetail;
    if (e.m_cause == CFileException::diskFull)
        return "There is no room left on the disk, or the file grew past the size allowed (" +
               detail + ").";
    return detail + ".";
}

std::string CauseOf(int err) {
    switch (err) {
    case ENOENT:
        return "The folder does not exist.";
    case EISDIR:
        return "It is a folder.";
    default:
        return CauseOf(AfxFileExceptionFromErrno(err, {}));
    }
}

// A new file beside the target with a name no other file has, and the permissions a new file
// would get. Returns its descriptor, or -1 with errno set.
int CreateTemporaryBeside(const std::string& target, std::string* pTempName) {
    const std::string folder = FolderOf(target);
    const std::string base = target.substr(target.rfind('/') + 1);
    std::random_device device;
    std::mt19937_64 rng((std::uint64_t(device()) << 32) ^ device() ^ std::uint64_t(::getpid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(rng()));
        std::string name = folder + "/." + base + "." + suffix + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *pTempName = std::move(name);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

std::string AfxWriteWholeFile(const std::string& pathName, const void* data, std::size_t size) {
    if (pathName.empty())
        return "No file was named.";
    const std::string target = ResolvedTarget(pathName);
    // A folder of that name would only be found at the rename, after all the writing.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return CauseOf(EISDIR);

    std::string tempName;
    const int fd = CreateTemporaryBeside(target, &tempName);
    if (fd < 0)
        return CauseOf(errno);

    CFile file(fd, pathName);
    std::string failure;
    try {
        file.Write(data, size);
        if (AfxFileSystemCalls().fdatasync(file.GetHandle()) != 0)
            throw AfxFileExceptionFromErrno(errno, pathName);
        file.Close();
        if (AfxFileSystemCalls().rename(tempName.c_str(), target.c_str()) != 0)
            throw AfxFileExceptionFromErrno(errno, pathName);
    } catch (const CFileException& e) {
        failure = CauseOf(e);
    }
    if (!failure.empty()) {
        ::unlink(tempName.c_str());
        return failure;
    }

    // The new name becomes durable with the folder's entry; the file is in place either way.
    const int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}
