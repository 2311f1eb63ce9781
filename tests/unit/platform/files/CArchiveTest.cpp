#include "platform/framework/CArchive.h"
#include "platform/framework/CException.h"
#include "platform/framework/CMemFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

std::vector<std::uint8_t> Written(const CMemFile& file) {
    std::vector<std::uint8_t> bytes(file.GetData().size());
    std::memcpy(bytes.data(), file.GetData().data(), bytes.size());
    return bytes;
}

// A memory file that refuses every write, as a full disk does.
class FullFile : public CMemFile {
public:
    void Write(const void*, std::size_t) override {
        throw AfxFileExceptionFromErrno(ENOSPC, "full.bin");
    }
};

} // namespace

TEST(CArchive, StoresLittleEndianAndLoadsItBackAcrossBufferRefills) {
    CMemFile file;
    CArchive out(&file, CArchive::store, 16);
    EXPECT_TRUE(out.IsStoring());
    for (std::int32_t i = -20; i < 20; ++i)
        out << i;
    out << std::uint32_t{0x01020304};
    out.Close();

    const auto bytes = Written(file);
    ASSERT_EQ(bytes.size(), 41u * 4);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<std::uint8_t>{0xEC, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 4, bytes.end()),
              (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01}));

    // A buffer of 18 bytes leaves part of a value behind at each refill.
    CMemFile in(bytes.data(), bytes.size());
    CArchive ar(&in, CArchive::load, 18);
    EXPECT_TRUE(ar.IsLoading());
    for (std::int32_t i = -20; i < 20; ++i) {
        std::int32_t v = 0;
        ar >> v;
        ASSERT_EQ(v, i);
    }
    std::uint32_t last = 0;
    ar >> last;
    EXPECT_EQ(last, 0x01020304u);
}

TEST(CArchive, ReadingPastTheEndThrowsEndOfFileNamingTheFile) {
    const std::uint8_t bytes[] = {1, 0, 0, 0, 2, 0};
    CMemFile in(bytes, sizeof bytes);
    CArchive ar(&in, CArchive::load);
    std::uint32_t v = 0;
    ar >> v;
    try {
        ar >> v;
        FAIL() << "read past the end";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(CArchive, CountsTheBytesLeftToRead) {
    std::vector<std::uint8_t> bytes(100, 0);
    CMemFile in(bytes.data(), bytes.size());
    CArchive ar(&in, CArchive::load, 32);
    EXPECT_EQ(ar.GetBytesRemaining(), 100u);
    std::uint32_t v = 0;
    for (int i = 0; i < 10; ++i)
        ar >> v;
    EXPECT_EQ(ar.GetBytesRemaining(), 60u);
    for (int i = 0; i < 15; ++i)
        ar >> v;
    EXPECT_EQ(ar.GetBytesRemaining(), 0u);
}

TEST(CArchive, WrongDirectionAndClosedArchivesRefuseToWork) {
    CMemFile file;
    CArchive out(&file, CArchive::store);
    std::uint32_t v = 0;
    EXPECT_THROW(out >> v, CArchiveException);
    out << v;
    out.Close();
    EXPECT_EQ(file.GetData().size(), 4u);
    EXPECT_THROW(out << v, CArchiveException);

    CMemFile in(file.GetData().data(), 4);
    CArchive ar(&in, CArchive::load);
    EXPECT_THROW(ar << v, CArchiveException);
}

TEST(CArchive, AFailedWriteReachesTheCallerOnceAndAnAbandonedArchiveWritesNothing) {
    FullFile full;
    CArchive out(&full, CArchive::store, 16);
    for (int i = 0; i < 4; ++i)
        out << 7;
    EXPECT_THROW(out << 8, CFileException);
    EXPECT_NO_THROW(out.Abort());

    CMemFile file;
    {
        CArchive abandoned(&file, CArchive::store);
        abandoned << 1;
    }
    EXPECT_TRUE(file.GetData().empty());
}
