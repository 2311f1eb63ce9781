#pragma once

#include <exception>
#include <string>

// The framework's failures. They travel as C++ exceptions, thrown by value, and are caught and
// reported once, where the framework dispatched the user's action.
class CException : public std::exception {
public:
    const char* what() const noexcept override { return "CException"; }
};

class CMemoryException : public CException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

class CArchiveException : public CException {
public:
    enum Cause {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(Cause cause = none, std::string fileName = {})
        : m_cause(cause), m_strFileName(std::move(fileName)) {}
    const char* what() const noexcept override { return "archive failure"; }

    Cause m_cause;
    std::string m_strFileName;
};

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(Cause cause = none, std::string fileName = {}, std::string detail = {})
        : m_cause(cause), m_strFileName(std::move(fileName)), m_strDetail(std::move(detail)) {}
    const char* what() const noexcept override { return "file failure"; }

    Cause m_cause;
    std::string m_strFileName;
    std::string m_strDetail; // the system's own words for the cause, when it gave any
};

[[noreturn]] inline void AfxThrowMemoryException() {
    throw CMemoryException();
}
[[noreturn]] inline void AfxThrowArchiveException(CArchiveException::Cause cause,
                                                  std::string fileName = {}) {
    throw CArchiveException(cause, std::move(fileName));
}
