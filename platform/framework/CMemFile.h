#pragma once

#include "platform/framework/CFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A file held in memory. Built empty it grows as it is written; built over a span of bytes it
// reads them in place, without a copy, and refuses to be written.
class CMemFile : public CFile {
public:
    CMemFile() = default;
    CMemFile(const void* pData, std::size_t nSize)
        : m_pReadOnly(static_cast<const std::byte*>(pData)), m_nReadOnlySize(nSize) {}

    bool Open(const std::string& fileName, UINT nOpenFlags,
              CFileException* pError = nullptr) override;
    std::size_t Read(void* pBuf, std::size_t nCount) override;
    void Write(const void* pBuf, std::size_t nCount) override;
    void Flush() override {}
    void Close() override {}
    std::uint64_t GetLength() const override;
    std::uint64_t GetPosition() const override { return m_nPosition; }

    // What has been written.
    const std::vector<std::byte>& GetData() const { return m_data; }

private:
    const std::byte* Bytes() const { return m_pReadOnly ? m_pReadOnly : m_data.data(); }

    const std::byte* m_pReadOnly = nullptr;
    std::size_t m_nReadOnlySize = 0;
    std::vector<std::byte> m_data;
    std::size_t m_nPosition = 0;
};
