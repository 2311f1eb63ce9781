#pragma once

#include <cstdint>

// A width and a height.
struct CSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;

    constexpr CSize() = default;
    constexpr CSize(std::int32_t x, std::int32_t y) : cx(x), cy(y) {}

    friend constexpr bool operator==(const CSize&, const CSize&) = default;
};
