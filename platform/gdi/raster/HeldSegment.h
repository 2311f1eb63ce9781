#pragma once

#include <cstdint>

namespace raster {

// A Bezier segment whose drawing is held back: control points in image coordinates, drawn later
// together with the others of the same colour.
struct HeldSegment {
    std::int32_t x[4];
    std::int32_t y[4];
};

} // namespace raster
