#pragma once

#include "platform/geometry/CPoint.h"

#include <algorithm>
#include <cstdint>

// A rectangle as the platform keeps it: not normalised, left may exceed right. The left and top
// edges belong to it, the right and bottom edges do not.
struct CRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : left(l), top(t), right(r), bottom(b) {}

    friend constexpr bool operator==(const CRect&, const CRect&) = default;

    // Widths of rectangles that span more than half the 32-bit range do not fit an int32.
    constexpr std::int64_t Width() const { return std::int64_t(right) - left; }
    constexpr std::int64_t Height() const { return std::int64_t(bottom) - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr CPoint TopLeft() const { return {left, top}; }
};

// Grows the rectangle by dx on the left and right and by dy on the top and bottom.
constexpr void InflateRect(CRect* rect, std::int32_t dx, std::int32_t dy) {
    rect->left = WrapSub(rect->left, dx);
    rect->top = WrapSub(rect->top, dy);
    rect->right = WrapAdd(rect->right, dx);
    rect->bottom = WrapAdd(rect->bottom, dy);
}

// Inside exactly when left <= x < right and top <= y < bottom.
constexpr bool PtInRect(const CRect* rect, CPoint pt) {
    return rect->left <= pt.x && pt.x < rect->right && rect->top <= pt.y && pt.y < rect->bottom;
}

// The smallest rectangle holding both; an empty source adds nothing, and two empty ones give
// the empty rectangle. Returns whether the result is not empty.
constexpr bool UnionRect(CRect* dst, const CRect* a, const CRect* b) {
    if (a->IsRectEmpty()) {
        *dst = b->IsRectEmpty() ? CRect() : *b;
    } else if (b->IsRectEmpty()) {
        *dst = *a;
    } else {
        *dst = CRect(std::min(a->left, b->left), std::min(a->top, b->top),
                     std::max(a->right, b->right), std::max(a->bottom, b->bottom));
    }
    return !dst->IsRectEmpty();
}

// The part that both share; the empty rectangle when they share none. Returns whether the
// result is not empty.
constexpr bool IntersectRect(CRect* dst, const CRect* a, const CRect* b) {
    const CRect r(std::max(a->left, b->left), std::max(a->top, b->top),
                  std::min(a->right, b->right), std::min(a->bottom, b->bottom));
    *dst = r.IsRectEmpty() ? CRect() : r;
    return !dst->IsRectEmpty();
}
