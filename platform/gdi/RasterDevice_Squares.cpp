#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/raster/PixelOps.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

// A selection of a whole drawing shows a handle on every control point: a million squares
// filled one call each would cost more than drawing the curves under them. Where the squares
// are many for the pixels they fall on, they are found as a map of the centres that is grown
// by the square's size, which costs what the clip holds and not what the squares cover.

namespace {

// Squares in each pixel of the clip, on average, from which the map costs less.
constexpr std::int64_t kSquaresPerPixelForMap = 8;
// The map counts a square's reach in bytes.
constexpr int kMostHalfForMap = 100;

} // namespace

void RasterDevice::FillSquares(const CPoint* centres, std::size_t count, int half, COLORREF color) {
    if (centres == nullptr || count == 0 || m_clip.IsRectEmpty() || half <= 0)
        return;
    Flush();
    const std::uint32_t value = raster::ToPixel(color);
    // At one pixel per unit every square is the same size around its centre's pixel.
    const bool plain = m_map.Screen().IsOne();
    const std::int64_t pixels = std::int64_t(m_clip.Width()) * m_clip.Height();
    if (plain && half <= kMostHalfForMap &&
        std::int64_t(count) * 4 * half * half >= kSquaresPerPixelForMap * pixels) {
        try {
            FillSquaresByMap(centres, count, half, value);
            return;
        } catch (const std::bad_alloc&) {
            // Without room for the map, the squares are filled one by one.
        }
    }
    const std::int64_t clipLeft = m_clip.left;
    const std::int64_t clipTop = m_clip.top;
    const std::int64_t clipRight = m_clip.right;
    const std::int64_t clipBottom = m_clip.bottom;
    for (std::size_t i = 0; i < count; ++i) {
        const CPoint centre = centres[i];
        const std::int64_t x = X(centre.x);
        const std::int64_t y = Y(centre.y);
        std::int64_t left = x - half;
        std::int64_t top = y - half;
        std::int64_t right = x + half;
        std::int64_t bottom = y + half;
        if (!plain) {
            left = x + m_map.ScreenOffset(centre.x, -half);
            top = y + m_map.ScreenOffset(centre.y, -half);
            right = x + m_map.ScreenOffset(centre.x, half);
            bottom = y + m_map.ScreenOffset(centre.y, half);
        }
        left = std::max(left, clipLeft);
        top = std::max(top, clipTop);
        right = std::min(right, clipRight);
        bottom = std::min(bottom, clipBottom);
        if (left >= right || top >= bottom)
            continue;
        for (std::int64_t row = top; row < bottom; ++row) {
            std::uint32_t* bits = m_bits + row * m_stride;
            std::fill(bits + left, bits + right, value);
        }
    }
}

void RasterDevice::FillSquaresByMap(const CPoint* centres, std::size_t count, int half,
                                    std::uint32_t value) {
    // A square around the pixel x covers x - half <= px < x + half: the pixel px is covered by
    // the centres px - half + 1 to px + half, a run of 2 * half. The map holds every centre
    // pixel that can cover a pixel of the clip.
    const std::int64_t side = 2 * std::int64_t(half);
    const std::int64_t width = m_clip.Width();
    const std::int64_t height = m_clip.Height();
    const std::int64_t mapWidth = width + side - 1;
    const std::int64_t mapHeight = height + side - 1;
    const std::int64_t originX = std::int64_t(m_clip.left) - half + 1;
    const std::int64_t originY = std::int64_t(m_clip.top) - half + 1;
    std::vector<std::uint8_t> map(std::size_t(mapWidth * mapHeight));
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t x = X(centres[i].x) - originX;
        const std::int64_t y = Y(centres[i].y) - originY;
        if (x >= 0 && x < mapWidth && y >= 0 && y < mapHeight)
            map[std::size_t(y * mapWidth + x)] = 1;
    }
    // Each row of the map grown across: whether a centre lies within the run of each column.
    std::vector<std::uint8_t> across(std::size_t(width * mapHeight));
    for (std::int64_t y = 0; y < mapHeight; ++y) {
        const std::uint8_t* in = map.data() + y * mapWidth;
        std::uint8_t* out = across.data() + y * width;
        int inRun = 0;
        for (std::int64_t x = 0; x < side - 1; ++x)
            inRun += in[x];
        for (std::int64_t x = 0; x < width; ++x) {
            inRun += in[x + side - 1];
            out[x] = inRun != 0 ? 1 : 0;
            inRun -= in[x];
        }
    }
    // Then down the columns, a row of the clip at a time, filling what is covered.
    std::vector<std::uint16_t> down(std::size_t(width), 0);
    for (std::int64_t y = 0; y < side - 1; ++y) {
        const std::uint8_t* row = across.data() + y * width;
        for (std::int64_t x = 0; x < width; ++x)
            down[std::size_t(x)] = std::uint16_t(down[std::size_t(x)] + row[x]);
    }
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t* entering = across.data() + (y + side - 1) * width;
        const std::uint8_t* leaving = across.data() + y * width;
        std::uint32_t* bits = m_bits + (m_clip.top + y) * m_stride + m_clip.left;
        for (std::int64_t x = 0; x < width; ++x) {
            const auto covered = std::uint16_t(down[std::size_t(x)] + entering[x]);
            if (covered != 0)
                bits[x] = value;
            down[std::size_t(x)] = std::uint16_t(covered - leaving[x]);
        }
    }
}
