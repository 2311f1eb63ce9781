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
// Fewer squares than this are filled on the calling thread alone: starting a thread costs more.
constexpr std::size_t kSquaresWorthAThread = 16 * 1024;

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
    // Bands of the clip's rows are filled on threads of their own, each with its own map of
    // the centres that reach its rows, so that no two write the same pixel. Every map is had
    // before any band starts, so that wanting room still leaves the image untouched.
    const std::int64_t bands = Bands(count, kSquaresWorthAThread);
    std::vector<SquareMaps> maps(static_cast<std::size_t>(bands));
    for (std::int64_t band = 0; band < bands; ++band)
        maps[std::size_t(band)].Size(m_clip.Width(),
                                     BandTop(band + 1, bands) - BandTop(band, bands), half);
    DrawInBands(bands, [&](std::int64_t band) {
        FillSquaresInRows(centres, count, half, value, BandTop(band, bands),
                          maps[std::size_t(band)]);
    });
}

void RasterDevice::SquareMaps::Size(std::int64_t clipWidth, std::int64_t rows, int half) {
    width = clipWidth;
    height = rows;
    const std::int64_t side = 2 * std::int64_t(half);
    mapWidth = width + side - 1;
    mapHeight = height + side - 1;
    map.assign(std::size_t(mapWidth * mapHeight), 0);
    across.resize(std::size_t(width * mapHeight));
    down.assign(std::size_t(width), 0);
}

void RasterDevice::FillSquaresInRows(const CPoint* centres, std::size_t count, int half,
                                     std::uint32_t value, std::int64_t top,
                                     SquareMaps& maps) const {
    // A square around the pixel x covers x - half <= px < x + half: the pixel px is covered by
    // the centres px - half + 1 to px + half, a run of 2 * half. The map holds every centre
    // pixel that can cover a pixel of the rows.
    const std::int64_t side = 2 * std::int64_t(half);
    const std::int64_t width = maps.width;
    const std::int64_t height = maps.height;
    const std::int64_t mapWidth = maps.mapWidth;
    const std::int64_t mapHeight = maps.mapHeight;
    const std::int64_t originX = std::int64_t(m_clip.left) - half + 1;
    const std::int64_t originY = top - half + 1;
    std::uint8_t* map = maps.map.data();
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t x = X(centres[i].x) - originX;
        const std::int64_t y = Y(centres[i].y) - originY;
        if (x >= 0 && x < mapWidth && y >= 0 && y < mapHeight)
            map[std::size_t(y * mapWidth + x)] = 1;
    }
    // Each row of the map grown across: whether a centre lies within the run of each column.
    std::uint8_t* across = maps.across.data();
    for (std::int64_t y = 0; y < mapHeight; ++y) {
        const std::uint8_t* in = map + y * mapWidth;
        std::uint8_t* out = across + y * width;
        int inRun = 0;
        for (std::int64_t x = 0; x < side - 1; ++x)
            inRun += in[x];
        for (std::int64_t x = 0; x < width; ++x) {
            inRun += in[x + side - 1];
            out[x] = inRun != 0 ? 1 : 0;
            inRun -= in[x];
        }
    }
    // Then down the columns, a row at a time, filling what is covered.
    std::uint16_t* down = maps.down.data();
    for (std::int64_t y = 0; y < side - 1; ++y) {
        const std::uint8_t* row = across + y * width;
        for (std::int64_t x = 0; x < width; ++x)
            down[x] = std::uint16_t(down[x] + row[x]);
    }
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t* entering = across + (y + side - 1) * width;
        const std::uint8_t* leaving = across + y * width;
        std::uint32_t* bits = m_bits + (top + y) * m_stride + m_clip.left;
        for (std::int64_t x = 0; x < width; ++x) {
            const auto covered = std::uint16_t(down[x] + entering[x]);
            if (covered != 0)
                bits[x] = value;
            down[x] = std::uint16_t(covered - leaving[x]);
        }
    }
}
