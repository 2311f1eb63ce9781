#include "platform/ole/ClipboardFormat.h"

#include <QString>

#include <cstdint>
#include <map>

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kRegisteredCount = 0x4000;
constexpr std::size_t kMaxNameLength = 255;

std::map<UINT, std::string>& Registry() {
    static std::map<UINT, std::string> registry;
    return registry;
}

// FNV-1a: a fixed function of the name's bytes, the same in every process.
std::uint32_t HashName(const std::string& name) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

UINT Register(const QString& name) {
    if (name.isEmpty() || std::size_t(name.size()) > kMaxNameLength)
        return 0;
    const std::string utf8 = name.toStdString();
    auto& registry = Registry();
    // Two names that hash alike in one process are told apart by probing; ids stay stable
    // across processes as long as such rare pairs are registered in the same order.
    UINT slot = HashName(utf8) % kRegisteredCount;
    for (UINT tried = 0; tried < kRegisteredCount; ++tried) {
        const UINT id = kFirstRegistered + (slot + tried) % kRegisteredCount;
        auto [it, inserted] = registry.try_emplace(id, utf8);
        if (inserted || it->second == utf8)
            return id;
    }
    return 0;
}

} // namespace

UINT RegisterClipboardFormatW(const wchar_t* name) {
    return name ? Register(QString::fromWCharArray(name)) : 0;
}

UINT RegisterClipboardFormat(const char* name) {
    return name ? Register(QString::fromUtf8(name)) : 0;
}

std::string ClipboardFormatName(CLIPFORMAT cf) {
    const auto& registry = Registry();
    const auto it = registry.find(cf);
    return it == registry.end() ? std::string() : it->second;
}
