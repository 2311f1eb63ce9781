#pragma once

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Integers stored least significant byte first, as document files, clipboard records and packed
// bitmaps hold them: read and written at any alignment, on a host of either byte order.

// The identity on a little-endian host; reverses the bytes on a big-endian one.
template <std::unsigned_integral T> constexpr T LittleEndianOrder(T v) {
    if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
        return v;
    } else {
        T reversed = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i, v >>= 8)
            reversed = T(reversed << 8 | (v & 0xFF));
        return reversed;
    }
}

template <std::unsigned_integral T> T LoadLe(const void* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return LittleEndianOrder(v);
}

template <std::unsigned_integral T> void StoreLe(void* p, T v) {
    v = LittleEndianOrder(v);
    std::memcpy(p, &v, sizeof v);
}

inline constexpr auto LoadLe32 = &LoadLe<std::uint32_t>;
inline constexpr auto LoadLe16 = &LoadLe<std::uint16_t>;
inline constexpr auto StoreLe32 = &StoreLe<std::uint32_t>;
inline constexpr auto StoreLe16 = &StoreLe<std::uint16_t>;
