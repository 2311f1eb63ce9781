#include "platform/framework/CArchive.h"

#include "platform/framework/CException.h"
#include "platform/framework/CFile.h"

#include <algorithm>

CArchive::CArchive(CFile* pFile, UINT nMode, std::size_t nBufferSize)
    : m_pFile(pFile), m_bLoading((nMode & load) != 0),
      m_nBufferSize(std::max<std::size_t>(nBufferSize, 16)),
      m_pBuffer(new std::byte[m_nBufferSize]) {
    if (m_bLoading) {
        m_pReadCur = m_pReadEnd = m_pBuffer.get();
        const std::uint64_t length = m_pFile->GetLength();
        const std::uint64_t position = m_pFile->GetPosition();
        m_nFileBytesLeft = length > position ? length - position : 0;
    } else {
        m_pWriteCur = m_pBuffer.get();
        m_pWriteEnd = m_pWriteCur + m_nBufferSize;
    }
}

CArchive::~CArchive() = default;

std::string CArchive::FileName() const {
    return m_pFile ? m_pFile->GetFilePath() : std::string();
}

void CArchive::MakeRoom() {
    if (m_bLoading)
        AfxThrowArchiveException(CArchiveException::readOnly, FileName());
    FlushBuffer();
}

void CArchive::FlushBuffer() {
    if (m_bLoading)
        return;
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException);
    const auto n = static_cast<std::size_t>(m_pWriteCur - m_pBuffer.get());
    // The buffer is emptied before the write so that a failed write is not repeated by a
    // later Flush.
    m_pWriteCur = m_pBuffer.get();
    if (n > 0)
        m_pFile->Write(m_pBuffer.get(), n);
}

void CArchive::FillBuffer(std::size_t nNeeded) {
    if (!m_bLoading)
        AfxThrowArchiveException(CArchiveException::writeOnly, FileName());
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    const auto left = static_cast<std::size_t>(m_pReadEnd - m_pReadCur);
    std::memmove(m_pBuffer.get(), m_pReadCur, left);
    m_pReadCur = m_pBuffer.get();
    m_pReadEnd = m_pReadCur + left;
    while (static_cast<std::size_t>(m_pReadEnd - m_pReadCur) < nNeeded) {
        const std::size_t space = m_nBufferSize - static_cast<std::size_t>(m_pReadEnd - m_pReadCur);
        const std::size_t got = m_pFile->Read(m_pReadEnd, space);
        if (got == 0)
            break;
        m_pReadEnd += got;
        m_nFileBytesLeft -= std::min<std::uint64_t>(m_nFileBytesLeft, got);
    }
    if (static_cast<std::size_t>(m_pReadEnd - m_pReadCur) < nNeeded) {
        // The file is exhausted: nothing more is left to count on.
        m_nFileBytesLeft = 0;
        AfxThrowArchiveException(CArchiveException::endOfFile, FileName());
    }
}

void CArchive::Read(void* pBuf, std::size_t nCount) {
    auto* out = static_cast<std::byte*>(pBuf);
    while (nCount > 0) {
        if (m_pReadCur == m_pReadEnd)
            FillBuffer(std::min(nCount, m_nBufferSize));
        const std::size_t n = std::min(nCount, static_cast<std::size_t>(m_pReadEnd - m_pReadCur));
        std::memcpy(out, m_pReadCur, n);
        m_pReadCur += n;
        out += n;
        nCount -= n;
    }
}

void CArchive::Flush() {
    if (m_bLoading || !m_pFile)
        return;
    FlushBuffer();
    m_pFile->Flush();
}

void CArchive::Close() {
    Flush();
    Abort();
}

void CArchive::Abort() {
    // Every later read or write takes the slow path and fails there.
    m_pFile = nullptr;
    m_pReadCur = m_pReadEnd = m_pWriteCur = m_pWriteEnd = nullptr;
    m_nFileBytesLeft = 0;
}
