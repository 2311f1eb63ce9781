#pragma once

#include "platform/Types.h"
#include "platform/framework/CException.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

// A file of the file system, read and written through its descriptor. Failures of reading and
// writing throw CFileException naming the file and the system's cause; a failed Open reports
// through its error argument instead.
class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };

    CFile() = default;
    // Takes over an open descriptor; the file closes it.
    CFile(int fd, std::string fileName) : m_fd(fd), m_strFileName(std::move(fileName)) {}
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file, ignoring failures: call Close to learn of them.
    virtual ~CFile();

    // Opens a regular file. Folders, devices and pipes are refused: a document is never read
    // from a source without an end. On failure, fills *pError when given and returns false.
    virtual bool Open(const std::string& fileName, UINT nOpenFlags,
                      CFileException* pError = nullptr);

    // Reads up to nCount bytes and returns how many were read; 0 only at the end of the file.
    virtual std::size_t Read(void* pBuf, std::size_t nCount);
    // Writes all nCount bytes or throws.
    virtual void Write(const void* pBuf, std::size_t nCount);
    virtual void Flush();
    // Closes the descriptor; a failure to close (a delayed write error) throws.
    virtual void Close();

    virtual std::uint64_t GetLength() const;
    virtual std::uint64_t GetPosition() const;

    const std::string& GetFilePath() const { return m_strFileName; }
    int GetHandle() const { return m_fd; }

protected:
    int m_fd = -1;
    std::string m_strFileName;
};

// The system calls through which files are written and replaced. Tests swap them to make a
// write, a sync or a rename fail the way a full disk or a broken medium would.
struct FileSystemCalls {
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> fdatasync;
    std::function<int(const char* from, const char* to)> rename;
    // Within folders opened once, so that no link on the way is followed twice.
    std::function<int(int fromDir, const char* from, int toDir, const char* to)> renameat;
    // Makes a folder's entries as lasting as the files they name.
    std::function<int(int fd)> fsync;
};
// The calls in use; every member is set. Assigning a member replaces that call until reset.
FileSystemCalls& AfxFileSystemCalls();
void AfxResetFileSystemCalls();

// The file exception that describes the system error code err for the named file.
CFileException AfxFileExceptionFromErrno(int err, const std::string& fileName);
