#include "platform/framework/CFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileSystemCalls SystemDefaults() {
    FileSystemCalls calls;
    calls.write = [](int fd, const void* data, std::size_t size) {
        return ::write(fd, data, size);
    };
    calls.fdatasync = [](int fd) { return ::fdatasync(fd); };
    calls.rename = [](const char* from, const char* to) { return ::rename(from, to); };
    calls.renameat = [](int fromDir, const char* from, int toDir, const char* to) {
        return ::renameat(fromDir, from, toDir, to);
    };
    calls.fsync = [](int fd) { return ::fsync(fd); };
    return calls;
}

CFileException::Cause CauseFromErrno(int err) {
    switch (err) {
    case ENOENT:
        return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return CFileException::badPath;
    case EMFILE:
    case ENFILE:
        return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CFileException::accessDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return CFileException::diskFull;
    case EIO:
        return CFileException::hardIO;
    case ESPIPE:
        return CFileException::badSeek;
    default:
        return CFileException::genericException;
    }
}

} // namespace

FileSystemCalls& AfxFileSystemCalls() {
    static FileSystemCalls calls = SystemDefaults();
    return calls;
}

void AfxResetFileSystemCalls() {
    AfxFileSystemCalls() = SystemDefaults();
}

CFileException AfxFileExceptionFromErrno(int err, const std::string& fileName) {
    return CFileException(CauseFromErrno(err), fileName, std::strerror(err));
}

CFile::~CFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CFile::Open(const std::string& fileName, UINT nOpenFlags, CFileException* pError) {
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if (nOpenFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }
    // Not blocking on open keeps a named pipe without a writer from hanging the program; the
    // file type check below then refuses it.
    int fd;
    do {
        fd = ::open(fileName.c_str(), flags | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    const auto fail = [&](int err) {
        if (pError)
            *pError = AfxFileExceptionFromErrno(err, fileName);
        return false;
    };
    if (fd < 0)
        return fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (pError)
            *pError =
                CFileException(CFileException::invalidFile, fileName,
                               S_ISDIR(st.st_mode) ? "It is a folder" : "It is not a regular file");
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_strFileName = fileName;
    return true;
}

std::size_t CFile::Read(void* pBuf, std::size_t nCount) {
    auto* p = static_cast<char*>(pBuf);
    std::size_t done = 0;
    while (done < nCount) {
        const ssize_t n = ::read(m_fd, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw AfxFileExceptionFromErrno(errno, m_strFileName);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void CFile::Write(const void* pBuf, std::size_t nCount) {
    const auto* p = static_cast<const char*>(pBuf);
    const auto& write = AfxFileSystemCalls().write;
    while (nCount > 0) {
        const ssize_t n = write(m_fd, p, nCount);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw AfxFileExceptionFromErrno(errno, m_strFileName);
        }
        // A write that takes nothing and reports no error would loop forever; the medium is
        // as good as full.
        if (n == 0)
            throw AfxFileExceptionFromErrno(ENOSPC, m_strFileName);
        p += n;
        nCount -= static_cast<std::size_t>(n);
    }
}

void CFile::Flush() {
    // Writes go straight to the system; there is nothing of ours to flush.
}

void CFile::Close() {
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    // Linux releases the descriptor even when close reports an error, so it is not retried.
    if (::close(fd) != 0 && errno != EINTR)
        throw AfxFileExceptionFromErrno(errno, m_strFileName);
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw AfxFileExceptionFromErrno(errno, m_strFileName);
    return st.st_size < 0 ? 0 : static_cast<std::uint64_t>(st.st_size);
}

std::uint64_t CFile::GetPosition() const {
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        throw AfxFileExceptionFromErrno(errno, m_strFileName);
    return static_cast<std::uint64_t>(pos);
}
