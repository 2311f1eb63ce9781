#include "platform/framework/AfxWriteWholeFile.h"
#include "platform/framework/CFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class WriteWholeFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "swoop2-whole.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        AfxResetFileSystemCalls();
        fs::remove_all(m_dir);
    }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every name in the folder: a failure must leave no temporary file behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

std::string Write(const std::string& path, const std::string& bytes) {
    return AfxWriteWholeFile(path, bytes.data(), bytes.size());
}

} // namespace

TEST_F(WriteWholeFile, WritesANewFileAndReplacesAnOldOne) {
    EXPECT_EQ(Write(Path("out"), std::string("one\0two", 7)), "");
    EXPECT_EQ(Read(Path("out")), std::string("one\0two", 7));
    EXPECT_EQ(Write(Path("out"), "three"), "");
    EXPECT_EQ(Read(Path("out")), "three");
    EXPECT_EQ(Names(), std::vector<std::string>{"out"});
}

TEST_F(WriteWholeFile, WritesThroughASymbolicLink) {
    ASSERT_EQ(Write(Path("target"), "old"), "");
    fs::create_symlink(Path("target"), Path("link"));
    EXPECT_EQ(Write(Path("link"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_EQ(Read(Path("target")), "new");
}

// A write, a sync or a rename that fails, as on a full disk or a broken medium: the cause is
// given, no file is left behind and the previous file is as it was.
TEST_F(WriteWholeFile, FailuresKeepThePreviousFileAndLeaveNothing) {
    struct Case {
        const char* name;
        std::function<void()> inject;
        const char* cause;
    };
    const std::vector<Case> cases = {
        {"write",
         [] {
             AfxFileSystemCalls().write = [](int, const void*, std::size_t) -> ssize_t {
                 errno = ENOSPC;
                 return -1;
             };
         },
         "no room left"},
        {"sync",
         [] {
             AfxFileSystemCalls().fdatasync = [](int) {
                 errno = EIO;
                 return -1;
             };
         },
         "Input/output error"},
        {"rename",
         [] {
             AfxFileSystemCalls().rename = [](const char*, const char*) {
                 errno = EXDEV;
                 return -1;
             };
         },
         "Invalid cross-device link"},
    };
    for (const Case& c : cases) {
        AfxResetFileSystemCalls();
        ASSERT_EQ(Write(Path("out"), "previous"), "");
        c.inject();
        const std::string cause = Write(Path("out"), "replacement");
        EXPECT_NE(cause.find(c.cause), std::string::npos) << c.name << ": " << cause;
        AfxResetFileSystemCalls();
        EXPECT_EQ(Read(Path("out")), "previous") << c.name;
        EXPECT_EQ(Names(), std::vector<std::string>{"out"}) << c.name;
    }
}

TEST_F(WriteWholeFile, NamesThatCannotBeWrittenSaySo) {
    fs::create_directory(Path("folder"));
    EXPECT_EQ(Write(Path("no/such/folder/out"), "x"), "The folder does not exist.");
    EXPECT_EQ(Write(Path("folder"), "x"), "It is a folder.");
    EXPECT_EQ(Write("", "x"), "No file was named.");
    EXPECT_EQ(Names(), std::vector<std::string>{"folder"});
    EXPECT_TRUE(fs::is_empty(Path("folder")));
}
