#include "platform/framework/internal/ReplacingFile.h"

#include "platform/framework/CException.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

void AfxIgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

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

} // namespace

ReplacingFile::~ReplacingFile() {
    if (m_tempName.empty() || m_bCommitted)
        return;
    m_file.reset();
    ::unlink(m_tempName.c_str());
}

bool ReplacingFile::Create(const std::string& pathName) {
    m_target = ResolvedTarget(pathName);
    const std::string folder = FolderOf(m_target);
    const std::string base = m_target.substr(m_target.rfind('/') + 1);
    std::random_device device;
    std::mt19937_64 rng((std::uint64_t(device()) << 32) ^ device() ^ std::uint64_t(::getpid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(rng()));
        std::string name = folder + "/." + base + "." + suffix + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            struct stat st {};
            if (::stat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                ::fchmod(fd, st.st_mode & 07777);
            m_tempName = std::move(name);
            m_file = std::make_unique<CFile>(fd, pathName);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

void ReplacingFile::Commit() {
    if (AfxFileSystemCalls().fdatasync(m_file->GetHandle()) != 0)
        throw AfxFileExceptionFromErrno(errno, m_file->GetFilePath());
    m_file->Close();
    if (AfxFileSystemCalls().rename(m_tempName.c_str(), m_target.c_str()) != 0)
        throw AfxFileExceptionFromErrno(errno, m_file->GetFilePath());
    m_bCommitted = true;
    // The new name becomes durable with the folder's entry; the file is in place either way,
    // so a failure here is not one to report.
    const int dirFd = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
