#pragma once

#include <string>
#include <string_view>

// Text that desktop viewers can show and that every file format can carry: the bytes as UTF-8,
// with each byte of an ill-formed sequence, each control character and each character that XML
// forbids replaced by U+FFFD. File names are bytes and may hold any of them.
std::string ReadableText(std::string_view bytes);
