#pragma once

#include <cstdint>

namespace raster {

// A Bezier segment whose drawing is held back: control points in image coordinates, drawn later
// together with the others of the same colour.
struct HeldSegment {
    std::int32_t x[4];
    std::int32_t y[4];
    // The steps it is sampled in, less one (at most 255), worked out once when it was held.
    std::uint8_t lastStep;
    // Whether a segment of the same curve draws the end pixel anyway, so that this one need not
    // keep it as it was.
    bool endDrawn;
};

} // namespace raster
