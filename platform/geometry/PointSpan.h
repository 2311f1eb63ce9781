#pragma once

#include "platform/geometry/CPoint.h"
#include "platform/geometry/CRect.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

// The smallest range of columns and rows holding some points, every edge inside, so that no
// coordinate of the 32-bit range needs one past it. The span of no points has left > right and
// top > bottom and holds nothing.
struct PointSpan {
    std::int32_t left, top, right, bottom;

    constexpr bool IsEmpty() const { return left > right || top > bottom; }
};

constexpr PointSpan SpanOfPoints(const CPoint* points, std::size_t count) {
    PointSpan span{
        std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(),
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()};
    for (std::size_t i = 0; i < count; ++i) {
        span.left = std::min(span.left, points[i].x);
        span.right = std::max(span.right, points[i].x);
        span.top = std::min(span.top, points[i].y);
        span.bottom = std::max(span.bottom, points[i].y);
    }
    return span;
}

constexpr PointSpan UnionSpan(const PointSpan& a, const PointSpan& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Whether squares reaching `half` either side of every point of a span all stay inside the
// 32-bit range; if so, `covered` gets the rectangle they fill together.
constexpr bool SquaresAroundSpan(const PointSpan& span, int half, CRect* covered) {
    if (span.IsEmpty() || half < 0 || std::int64_t(span.left) - half < INT32_MIN ||
        std::int64_t(span.top) - half < INT32_MIN || std::int64_t(span.right) + half > INT32_MAX ||
        std::int64_t(span.bottom) + half > INT32_MAX)
        return false;
    *covered = CRect(span.left - half, span.top - half, span.right + half, span.bottom + half);
    return true;
}
