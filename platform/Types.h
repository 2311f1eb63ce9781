#pragma once

#include <cstdint>

// The framework's fixed-width names, as the program's code uses them.
using DWORD = std::uint32_t;
using UINT = unsigned int;
using COLORREF = std::uint32_t; // 0x00BBGGRR
using CLIPFORMAT = std::uint16_t;
using DROPEFFECT = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) {
    return std::uint8_t(c);
}
constexpr std::uint8_t GetGValue(COLORREF c) {
    return std::uint8_t(c >> 8);
}
constexpr std::uint8_t GetBValue(COLORREF c) {
    return std::uint8_t(c >> 16);
}
