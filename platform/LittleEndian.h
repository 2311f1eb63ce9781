#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Integers stored least significant byte first, as document files, clipboard records and packed
// bitmaps hold them: read and written at any alignment, on a host of either byte order.

inline std::uint32_t LoadLe32(const void* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
}

inline std::uint16_t LoadLe16(const void* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap16(v);
    return v;
}

inline void StoreLe32(void* p, std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    std::memcpy(p, &v, 4);
}

inline void StoreLe16(void* p, std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap16(v);
    std::memcpy(p, &v, 2);
}
