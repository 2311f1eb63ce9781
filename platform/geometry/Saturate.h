#pragma once

#include "platform/geometry/CPoint.h"
#include "platform/geometry/CRect.h"

#include <algorithm>
#include <cstdint>

// Edits that move points stop at the ends of the coordinate range instead of wrapping around
// to the far side, where a point would land nowhere near the pointer.
constexpr std::int32_t SaturateAdd(std::int32_t a, std::int64_t d) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t(a) + d, INT32_MIN, INT32_MAX));
}

constexpr CPoint SaturateAdd(CPoint pt, std::int64_t dx, std::int64_t dy) {
    return {SaturateAdd(pt.x, dx), SaturateAdd(pt.y, dy)};
}

// The largest part of an offset that keeps the whole of the bounds within the range, so that a
// moved curve keeps its shape and stops as one at an end. Bounds here include their right and
// bottom edges.
constexpr std::int64_t ClampShift(std::int32_t low, std::int32_t high, std::int64_t d) {
    return std::clamp<std::int64_t>(d, std::int64_t(INT32_MIN) - low,
                                    std::int64_t(INT32_MAX) - high);
}
