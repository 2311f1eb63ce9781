#pragma once

#include "platform/LittleEndian.h"
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CFile;

// Buffered reading or writing of 32-bit little-endian integers over a file. The integer
// operations are inline and touch the file only when the buffer is exhausted or full, so that
// a document of millions of values loads at the speed of the disk.
//
// Reading past the end of the file throws CArchiveException(endOfFile) naming the file; a
// failure of the file itself throws its CFileException. Storing writes to the file when the
// buffer fills and on Flush and Close; the destructor discards what Close did not write, so
// that an archive abandoned by an exception never writes a partial value behind it.
class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };

    static constexpr std::size_t kDefaultBufferSize = 64 * 1024;

    CArchive(CFile* pFile, UINT nMode, std::size_t nBufferSize = kDefaultBufferSize);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    ~CArchive();

    bool IsLoading() const { return m_bLoading; }
    bool IsStoring() const { return !m_bLoading; }
    CFile* GetFile() const { return m_pFile; }

    // Bytes that loading can still read: what is buffered and what the file held beyond it
    // when the archive began. A loader caps any reservation it bases on a count it read by
    // this, so that a file cannot make it reserve more than the file itself holds.
    std::uint64_t GetBytesRemaining() const {
        return static_cast<std::uint64_t>(m_pReadEnd - m_pReadCur) + m_nFileBytesLeft;
    }

    CArchive& operator<<(std::uint32_t value) {
        if (m_pWriteEnd - m_pWriteCur < 4) [[unlikely]]
            MakeRoom();
        StoreLe32(m_pWriteCur, value);
        m_pWriteCur += 4;
        return *this;
    }
    CArchive& operator<<(std::int32_t value) { return *this << static_cast<std::uint32_t>(value); }

    CArchive& operator>>(std::uint32_t& value) {
        if (m_pReadEnd - m_pReadCur < 4) [[unlikely]]
            FillBuffer(4);
        value = LoadLe32(m_pReadCur);
        m_pReadCur += 4;
        return *this;
    }
    CArchive& operator>>(std::int32_t& value) {
        std::uint32_t u;
        *this >> u;
        value = static_cast<std::int32_t>(u);
        return *this;
    }

    // Storing: writes the buffer to the file. Loading: nothing to do.
    void Flush();
    // Flushes when storing; afterwards the archive is detached from its file.
    void Close();
    // Detaches from the file without writing what is buffered.
    void Abort();

private:
    std::string FileName() const;
    void MakeRoom();
    void FlushBuffer();
    void FillBuffer(std::size_t nNeeded);

    CFile* m_pFile;
    bool m_bLoading;
    std::size_t m_nBufferSize;
    std::unique_ptr<std::byte[]> m_pBuffer;
    // Loading: the unread bytes; both null when storing, so that a read takes the slow path
    // and fails there.
    std::byte* m_pReadCur = nullptr;
    std::byte* m_pReadEnd = nullptr;
    // Storing: the free space; both null when loading.
    std::byte* m_pWriteCur = nullptr;
    std::byte* m_pWriteEnd = nullptr;
    std::uint64_t m_nFileBytesLeft = 0;
};
