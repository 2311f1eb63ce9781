#pragma once

#include "platform/geometry/Wrap.h"

#include <cstdint>

// A point in logical units, or an offset of the same form.
struct CPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(std::int32_t x_, std::int32_t y_) : x(x_), y(y_) {}

    friend constexpr bool operator==(CPoint, CPoint) = default;
    friend constexpr CPoint operator+(CPoint a, CPoint b) {
        return {WrapAdd(a.x, b.x), WrapAdd(a.y, b.y)};
    }
    friend constexpr CPoint operator-(CPoint a, CPoint b) {
        return {WrapSub(a.x, b.x), WrapSub(a.y, b.y)};
    }
};
