#pragma once

#include <cstddef>
#include <string>

// Writes the bytes as the named file, whole or not at all: they go to a new file beside it,
// which takes the name only once every byte is known to be on the disk. A failure leaves no
// file behind and a previous file of that name as it was. Returns an empty string on success,
// else a sentence that gives the cause. A symbolic link is written through.
std::string AfxWriteWholeFile(const std::string& pathName, const void* data, std::size_t size);
