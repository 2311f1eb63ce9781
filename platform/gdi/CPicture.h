#pragma once

#include "platform/gdi/CDC.h"
#include "platform/geometry/CRect.h"

#include <cstdint>
#include <memory>
#include <string>

class QImage;
class RasterDevice;

// A picture of one rectangle of a drawing, in memory: white at first, drawn on through its
// surface in the drawing's own coordinates with the same rasteriser as a window, so that it
// gets the very pixels a window showing that rectangle would. Saved as PNG.
class CPicture {
public:
    // The largest picture made, as for bitmaps: a side of 16384 pixels and 256 MiB of pixels.
    static constexpr std::int64_t kMaxSide = 16384;
    static constexpr std::int64_t kMaxBytes = std::int64_t(256) << 20;

    CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;
    ~CPicture();

    // Makes the white picture of the area: its top left pixel shows the area's top left
    // point. Refuses, without allocating, an empty area or one beyond the limits above, and
    // fails when memory is short.
    bool Create(const CRect& area);
    // Whether an area of this size stays within the limits.
    static bool IsWithinLimits(std::int64_t width, std::int64_t height);

    // The surface to draw on; it draws nothing until Create succeeded.
    CDC* GetDC() { return &m_dc; }
    const CRect& GetArea() const { return m_area; }
    // The colour of the pixel that shows the point (x, y) of the drawing; white outside.
    COLORREF GetPixel(int x, int y) const;

    // The picture as the bytes of a PNG file; empty when it cannot be encoded.
    std::string EncodePng() const;

private:
    std::unique_ptr<QImage> m_image;
    std::unique_ptr<RasterDevice> m_device;
    CDC m_dc;
    CRect m_area;
};
