#pragma once

#include "platform/framework/CFile.h"

#include <memory>
#include <string>

// A file-size limit must fail a write with a message, not end the program with its work
// unsaved: with the limit's signal ignored, a write past it reports EFBIG and the file being
// replaced stays as it was. Every program that writes files calls this before it starts.
void AfxIgnoreFileSizeSignal();

// A new file written beside the one it is to replace, which takes that file's name only once
// every byte is known to be on the disk. Until then, and for good if anything fails, the
// previous file stays exactly as it was; a replacement never committed is removed. A symbolic
// link is written through: the file it points to is replaced and the link stays.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the new file, with the permissions of the file it replaces or those a new file
    // gets. False with errno set when it cannot be created.
    bool Create(const std::string& pathName);
    CFile& File() { return *m_file; }
    // Flushes the new file to the disk, closes it and gives it the name; throws a
    // CFileException when any of that fails.
    void Commit();

private:
    std::string m_target;
    std::string m_tempName;
    std::unique_ptr<CFile> m_file;
    bool m_bCommitted = false;
};
