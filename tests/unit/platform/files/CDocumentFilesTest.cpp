#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CException.h"
#include "platform/framework/CFile.h"
#include "platform/framework/CView.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A document of 32-bit values, stored as a count and the values.
class ValuesDoc : public CDocument {
public:
    void DeleteContents() override {
        m_values.clear();
        ++m_nDeletes;
    }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << static_cast<std::uint32_t>(m_values.size());
            for (std::uint32_t v : m_values)
                ar << v;
            if (m_bFailWhileStoring)
                throw CMemoryException();
            return;
        }
        std::uint32_t count = 0;
        ar >> count;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t v = 0;
            ar >> v;
            m_values.push_back(v);
        }
    }

    std::vector<std::uint32_t> m_values;
    int m_nDeletes = 0;
    bool m_bFailWhileStoring = false;
};

class CountingView : public CView {
public:
    void OnUpdate(CView* pSender, std::intptr_t lHint, void* pHint) override {
        ++m_nUpdates;
        m_pLastSender = pSender;
        m_lLastHint = lHint;
        m_pLastHint = pHint;
    }
    void OnDraw(CDC*) override {}

    int m_nUpdates = 0;
    CView* m_pLastSender = nullptr;
    std::intptr_t m_lLastHint = 0;
    void* m_pLastHint = nullptr;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Le(std::initializer_list<std::uint32_t> words) {
    std::string s;
    for (std::uint32_t w : words) {
        for (int i = 0; i < 4; ++i)
            s.push_back(static_cast<char>(w >> (8 * i)));
    }
    return s;
}

class DocumentFiles : public ::testing::Test {
protected:
    DocumentFiles() {
        std::string pattern = (fs::temp_directory_path() / "swoop2-files-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
        SetMessageBoxHook([this](const std::string& text, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    ~DocumentFiles() override {
        SetMessageBoxHook({});
        AfxResetFileSystemCalls();
        fs::remove_all(m_dir);
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Saving over an existing file through a failing step leaves that file untouched, no
    // temporary file behind, one message naming the file, and the document still modified.
    void ExpectFailedSaveKeepsThePreviousFile(const std::string& causeWords) {
        const fs::path target = m_dir / "drawing.bin";
        WriteAll(target, "previous contents");
        ValuesDoc doc;
        doc.m_values = {1, 2, 3};
        doc.SetModifiedFlag();
        EXPECT_FALSE(doc.OnSaveDocument(target.string()));
        EXPECT_EQ(ReadAll(target), "previous contents");
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"drawing.bin"});
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_NE(m_messages[0].find(target.string()), std::string::npos) << m_messages[0];
        EXPECT_NE(m_messages[0].find(causeWords), std::string::npos) << m_messages[0];
        EXPECT_NE(m_messages[0].find("left as it was"), std::string::npos) << m_messages[0];
        EXPECT_TRUE(doc.IsModified());
    }

    fs::path m_dir;
    std::vector<std::string> m_messages;
};

} // namespace

TEST_F(DocumentFiles, SaveWritesTheFileAndOpenReadsItBack) {
    const fs::path path = m_dir / "values.bin";
    ValuesDoc doc;
    doc.m_values = {7, 0xFFFFFFFF};
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument(path.string()));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadAll(path), Le({2, 7, 0xFFFFFFFF}));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"values.bin"});

    ValuesDoc loaded;
    loaded.m_values = {99};
    loaded.SetModifiedFlag();
    ASSERT_TRUE(loaded.OnOpenDocument(path.string()));
    EXPECT_EQ(loaded.m_values, (std::vector<std::uint32_t>{7, 0xFFFFFFFF}));
    EXPECT_FALSE(loaded.IsModified());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentFiles, SavingOverAFileKeepsItsPermissionsAndSavesThroughALink) {
    const fs::path real = m_dir / "real.bin";
    WriteAll(real, "old");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, m_dir / "link.bin");
    ValuesDoc doc;
    ASSERT_TRUE(doc.OnSaveDocument((m_dir / "link.bin").string()));
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.bin"));
    EXPECT_EQ(ReadAll(real), Le({0}));
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(DocumentFiles, AFileThatCannotBeOpenedLeavesTheDocumentAsItWas) {
    fs::create_directory(m_dir / "folder");
    for (const fs::path& path : {m_dir / "missing.bin", m_dir / "folder"}) {
        m_messages.clear();
        ValuesDoc doc;
        doc.m_values = {5};
        doc.SetModifiedFlag();
        EXPECT_FALSE(doc.OnOpenDocument(path.string()));
        EXPECT_EQ(doc.m_values, std::vector<std::uint32_t>{5});
        EXPECT_EQ(doc.m_nDeletes, 0);
        EXPECT_TRUE(doc.IsModified());
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_NE(m_messages[0].find(path.string()), std::string::npos) << m_messages[0];
    }
    EXPECT_NE(m_messages[0].find("folder"), std::string::npos);
}

TEST_F(DocumentFiles, AShortFileFailsWithTheEndOfFileCauseAndEmptiesTheDocument) {
    const fs::path path = m_dir / "short.bin";
    WriteAll(path, Le({3, 1, 2}));
    ValuesDoc doc;
    doc.m_values = {5};
    EXPECT_FALSE(doc.OnOpenDocument(path.string()));
    EXPECT_TRUE(doc.m_values.empty());
    EXPECT_EQ(doc.m_nDeletes, 2); // before loading and after the failure
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(path.string()), std::string::npos);
    EXPECT_NE(m_messages[0].find("ended before the drawing was complete"), std::string::npos)
        << m_messages[0];
}

TEST_F(DocumentFiles, AnEmptyFileOpensAsAnEmptyDocument) {
    const fs::path path = m_dir / "empty.bin";
    WriteAll(path, "");
    ValuesDoc doc;
    doc.m_values = {5};
    EXPECT_TRUE(doc.OnOpenDocument(path.string()));
    EXPECT_TRUE(doc.m_values.empty());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentFiles, FailedWriteKeepsThePreviousFile) {
    AfxFileSystemCalls().write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    ExpectFailedSaveKeepsThePreviousFile("no room left on the disk");
}

TEST_F(DocumentFiles, ShortWritesAreCompletedAndAStalledWriteFails) {
    // The system may take part of a buffer; the rest follows in further writes.
    AfxFileSystemCalls().write = [](int fd, const void* data, std::size_t size) {
        return ::write(fd, data, std::min<std::size_t>(size, 3));
    };
    ValuesDoc doc;
    doc.m_values = {1, 2, 3};
    ASSERT_TRUE(doc.OnSaveDocument((m_dir / "slow.bin").string()));
    EXPECT_EQ(ReadAll(m_dir / "slow.bin"), Le({3, 1, 2, 3}));
    fs::remove(m_dir / "slow.bin");

    AfxFileSystemCalls().write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
    ExpectFailedSaveKeepsThePreviousFile("no room left on the disk");
}

TEST_F(DocumentFiles, FailedSyncKeepsThePreviousFile) {
    AfxFileSystemCalls().fdatasync = [](int) {
        errno = EIO;
        return -1;
    };
    ExpectFailedSaveKeepsThePreviousFile("Input/output error");
}

TEST_F(DocumentFiles, FailedRenameKeepsThePreviousFile) {
    AfxFileSystemCalls().rename = [](const char*, const char*) {
        errno = EXDEV;
        return -1;
    };
    ExpectFailedSaveKeepsThePreviousFile("Invalid cross-device link");
}

TEST_F(DocumentFiles, AFailureWhileSerializingKeepsThePreviousFile) {
    const fs::path target = m_dir / "drawing.bin";
    WriteAll(target, "previous contents");
    ValuesDoc doc;
    doc.m_bFailWhileStoring = true;
    EXPECT_FALSE(doc.OnSaveDocument(target.string()));
    EXPECT_EQ(ReadAll(target), "previous contents");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"drawing.bin"});
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("not enough memory"), std::string::npos);
}

TEST_F(DocumentFiles, AFolderThatCannotTakeTheFileFailsTheSave) {
    ValuesDoc doc;
    const fs::path target = m_dir / "no-such-folder" / "drawing.bin";
    EXPECT_FALSE(doc.OnSaveDocument(target.string()));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(target.string()), std::string::npos);
    EXPECT_NE(m_messages[0].find("folder does not exist"), std::string::npos) << m_messages[0];
    EXPECT_EQ(m_messages[0].find("left as it was"), std::string::npos) << m_messages[0];
}

// The file-size limit stands in for a full disk, which root cannot be kept from writing to by
// permissions. The save runs in a child process so that the limit stays there.
TEST_F(DocumentFiles, AFileSizeLimitFailsTheSaveAndKeepsThePreviousFile) {
    const fs::path target = m_dir / "big.bin";
    const std::string previous(1000, 'p');
    WriteAll(target, previous);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ValuesDoc doc;
        doc.m_values.assign(5000, 0xABCDEF01);
        std::string message;
        SetMessageBoxHook([&](const std::string& text, UINT) {
            message = text;
            return IDOK;
        });
        const bool saved = doc.OnSaveDocument(target.string());
        const bool named = message.find(target.string()) != std::string::npos;
        ::_exit(saved ? 1 : named ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(target), previous);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"big.bin"});
}

TEST(CDocumentViews, UpdateAllViewsReachesEveryViewButTheSender) {
    ValuesDoc doc;
    CountingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&a);
    EXPECT_EQ(a.GetDocument(), &doc);
    int hintObject = 0;
    doc.UpdateAllViews(&a, 7, &hintObject);
    EXPECT_EQ(a.m_nUpdates, 0);
    EXPECT_EQ(b.m_nUpdates, 1);
    EXPECT_EQ(b.m_pLastSender, &a);
    EXPECT_EQ(b.m_lLastHint, 7);
    EXPECT_EQ(b.m_pLastHint, &hintObject);

    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(a.m_nUpdates, 1);
    EXPECT_EQ(b.m_nUpdates, 2);

    doc.RemoveView(&b);
    EXPECT_EQ(b.GetDocument(), nullptr);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(b.m_nUpdates, 2);
    doc.RemoveView(&a);
}
