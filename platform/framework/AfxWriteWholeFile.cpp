#include "platform/framework/AfxWriteWholeFile.h"

#include "platform/framework/CFile.h"
#include "platform/framework/internal/ReplacingFile.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

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

} // namespace

std::string AfxWriteWholeFile(const std::string& pathName, const void* data, std::size_t size) {
    if (pathName.empty())
        return "No file was named.";
    // A folder of that name would only be found at the rename, after all the writing.
    struct stat st {};
    if (::stat(pathName.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return CauseOf(EISDIR);

    ReplacingFile out;
    if (!out.Create(pathName))
        return CauseOf(errno);
    try {
        out.File().Write(data, size);
        out.Commit();
    } catch (const CFileException& e) {
        return CauseOf(e);
    }
    return {};
}
