#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/raster/PixelOps.h"

#include <algorithm>

// A selection of a whole drawing shows a handle on every control point: a million squares
// filled one call each would cost more than drawing the curves under them.

void RasterDevice::FillSquares(const CPoint* centres, std::size_t count, int half, COLORREF color) {
    if (centres == nullptr || count == 0 || m_clip.IsRectEmpty())
        return;
    Flush();
    const std::uint32_t value = raster::ToPixel(color);
    const std::int64_t clipLeft = m_clip.left;
    const std::int64_t clipTop = m_clip.top;
    const std::int64_t clipRight = m_clip.right;
    const std::int64_t clipBottom = m_clip.bottom;
    // At one pixel per unit every square is the same size around its centre's pixel.
    const bool plain = m_map.Screen().IsOne();
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
