#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The small file kept beside a recovery copy: a first line that names the format, then the
// document's path, exactly, to the end of the file (none for an untitled drawing).
namespace RecoveryInfo {

inline constexpr std::string_view kFirstLine = "recovery copy 1\n";
// A path longer than the system allows is not a path this program wrote.
inline constexpr std::size_t kMaxSize = kFirstLine.size() + 4096;

inline std::string Encode(const std::string& pathName) {
    return std::string(kFirstLine) + pathName;
}

// The path a file of the form names; nothing when the bytes are not of that form.
inline std::optional<std::string> Decode(std::string_view bytes) {
    if (bytes.size() > kMaxSize || bytes.substr(0, kFirstLine.size()) != kFirstLine)
        return std::nullopt;
    const std::string_view path = bytes.substr(kFirstLine.size());
    if (path.find('\0') != std::string_view::npos || (!path.empty() && path.front() != '/'))
        return std::nullopt;
    return std::string(path);
}

} // namespace RecoveryInfo
