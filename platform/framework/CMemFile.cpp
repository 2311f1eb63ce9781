#include "platform/framework/CMemFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

bool CMemFile::Open(const std::string& fileName, UINT, CFileException* pError) {
    // A memory file has no name in the file system to open.
    if (pError)
        *pError = AfxFileExceptionFromErrno(EINVAL, fileName);
    return false;
}

std::uint64_t CMemFile::GetLength() const {
    return m_pReadOnly ? m_nReadOnlySize : m_data.size();
}

std::size_t CMemFile::Read(void* pBuf, std::size_t nCount) {
    const std::size_t length = static_cast<std::size_t>(GetLength());
    const std::size_t n = std::min(nCount, length - std::min(m_nPosition, length));
    if (n > 0)
        std::memcpy(pBuf, Bytes() + m_nPosition, n);
    m_nPosition += n;
    return n;
}

void CMemFile::Write(const void* pBuf, std::size_t nCount) {
    if (m_pReadOnly)
        throw AfxFileExceptionFromErrno(EBADF, m_strFileName);
    if (nCount == 0)
        return;
    const auto* p = static_cast<const std::byte*>(pBuf);
    if (m_nPosition > m_data.size())
        m_data.resize(m_nPosition);
    const std::size_t overlap = std::min(nCount, m_data.size() - m_nPosition);
    std::copy(p, p + overlap, m_data.begin() + static_cast<std::ptrdiff_t>(m_nPosition));
    m_data.insert(m_data.end(), p + overlap, p + nCount);
    m_nPosition += nCount;
}
