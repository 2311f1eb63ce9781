#pragma once

#include "platform/Types.h"
#include "platform/gdi/DrawingDevice.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/PenPattern.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

// What the rasteriser does to one pixel, and the pen that walks the image doing it.
namespace raster {

// The image's pixels are 0xAARRGGBB; colours arrive as 0x00BBGGRR.
inline std::uint32_t ToPixel(COLORREF c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

struct CopyOp {
    std::uint32_t value;
    void operator()(std::uint32_t* p) const { *p = value; }
};

struct InvertOp {
    void operator()(std::uint32_t* p) const { *p ^= 0x00FFFFFFu; }
};

// Any of the sixteen raster operations: code - 1 is the truth table of pen and destination,
// bit 3 for (pen 1, destination 1) down to bit 0 for (0, 0).
struct TableOp {
    std::uint32_t pen;
    unsigned table;
    void operator()(std::uint32_t* p) const {
        const std::uint32_t d = *p;
        std::uint32_t r = 0;
        if (table & 8u)
            r |= pen & d;
        if (table & 4u)
            r |= pen & ~d;
        if (table & 2u)
            r |= ~pen & d;
        if (table & 1u)
            r |= ~pen & ~d;
        *p = 0xFF000000u | (r & 0x00FFFFFFu);
    }
};

// Calls f(op, patterned) with the pixel operation for the raster operation and whether the pen
// has a pattern, so that each combination gets its own tight loops.
template <class F> void WithPixelOp(int rop, const PenAttributes& pen, F&& f) {
    const bool patterned = !PenPattern::ForStyle(pen.style).IsSolid();
    auto withPattern = [&](auto op) {
        if (patterned)
            f(op, std::true_type{});
        else
            f(op, std::false_type{});
    };
    const std::uint32_t value = ToPixel(pen.color);
    switch (rop) {
    case R2_NOP:
        return;
    case R2_COPYPEN:
        return withPattern(CopyOp{value});
    case R2_NOT:
        return withPattern(InvertOp{});
    case R2_BLACK:
        return withPattern(CopyOp{0xFF000000u});
    case R2_WHITE:
        return withPattern(CopyOp{0xFFFFFFFFu});
    default:
        return withPattern(TableOp{value, unsigned(rop - 1) & 15u});
    }
}

// An image and the pen that draws on it: the pixel operation and where the pen's pattern
// stands. Lines and sampled segments each walk it in their own way.
template <class Op> struct RasterPen {
    std::uint32_t* bits;
    int width;
    int height;
    std::ptrdiff_t stride;
    Op op;
    PenPattern pattern;
    int phase;
};

} // namespace raster
