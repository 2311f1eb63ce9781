#pragma once

#include "platform/gdi/DeviceScale.h"
#include "platform/geometry/CRect.h"

#include <algorithm>
#include <cstdint>

// How a window's image shows a drawing at some zoom and scroll position: a unit maps to the
// pixel at the screen's ratio times the zoom, less the pixel at which the image's top-left
// corner stands. Drawings, parts and records stay in units; only this maps them.
//
// The screen's own ratio is kept beside it: what keeps its size on the screen whatever the zoom
// (the handles, the pattern of a dotted pen) is measured in it. With a zoom of one and the
// origin at the top-left, the mapping is the screen's ratio alone.
class DeviceMapping {
public:
    constexpr DeviceMapping() = default;
    constexpr DeviceMapping(DeviceScale scale, DeviceScale screen, std::int64_t originX,
                            std::int64_t originY)
        : m_scale(scale), m_screen(screen), m_ox(Clamp(originX)), m_oy(Clamp(originY)) {}
    // The screen's ratio alone, with the origin at a unit's pixel: a picture of the part of a
    // drawing that starts there.
    static constexpr DeviceMapping At(DeviceScale screen, std::int64_t unitX, std::int64_t unitY) {
        return DeviceMapping(screen, screen, screen.Map(unitX), screen.Map(unitY));
    }

    constexpr const DeviceScale& Scale() const { return m_scale; }
    constexpr const DeviceScale& Screen() const { return m_screen; }
    constexpr std::int64_t OriginX() const { return m_ox; }
    constexpr std::int64_t OriginY() const { return m_oy; }

    // The image's column and row that show a unit.
    constexpr std::int64_t X(std::int64_t x) const { return m_scale.Map(x) - m_ox; }
    constexpr std::int64_t Y(std::int64_t y) const { return m_scale.Map(y) - m_oy; }

    // The unit whose pixels hold the image's pixel.
    constexpr std::int64_t UnitX(std::int64_t pixel) const { return m_scale.UnitAt(pixel + m_ox); }
    constexpr std::int64_t UnitY(std::int64_t pixel) const { return m_scale.UnitAt(pixel + m_oy); }

    // The image's pixels that drawing within the units can touch (DeviceScale::Reach).
    constexpr CRect Reach(const CRect& units) const {
        return CRect(Clamp32(X(units.left)), Clamp32(Y(units.top)),
                     Clamp32(m_scale.MapEnd(units.left, units.right) - m_ox),
                     Clamp32(m_scale.MapEnd(units.top, units.bottom) - m_oy));
    }

    // The fewest units that hold everything drawn on the image's pixels (DeviceScale::ToLogical).
    constexpr CRect ToUnits(const CRect& pixels) const {
        const std::int64_t left = std::int64_t(pixels.left) + m_ox;
        const std::int64_t top = std::int64_t(pixels.top) + m_oy;
        if (pixels.IsRectEmpty()) {
            const auto x = Clamp32(m_scale.UnitAt(left));
            const auto y = Clamp32(m_scale.UnitAt(top));
            return CRect(x, y, x, y);
        }
        return CRect(Clamp32(m_scale.FirstUnitAt(left)), Clamp32(m_scale.FirstUnitAt(top)),
                     Clamp32(m_scale.UnitAt(std::int64_t(pixels.right) - 1 + m_ox) + 1),
                     Clamp32(m_scale.UnitAt(std::int64_t(pixels.bottom) - 1 + m_oy) + 1));
    }

    // The pixels from a unit's own pixel to the edge of a square grown around it by a number of
    // the screen's units: at a zoom of one, exactly the edge of the grown square mapped as a
    // rectangle, and at any zoom the same size on the screen.
    constexpr std::int64_t ScreenOffset(std::int64_t unit, std::int64_t by) const {
        return m_screen.Map(unit + by) - m_screen.Map(unit);
    }

    friend constexpr bool operator==(const DeviceMapping&, const DeviceMapping&) = default;

private:
    // Origins beyond this are no scroll position; the bound keeps every sum inside 64 bits.
    static constexpr std::int64_t kFar = std::int64_t(1) << 44;
    static constexpr std::int64_t Clamp(std::int64_t v) { return std::clamp(v, -kFar, kFar); }
    static constexpr std::int32_t Clamp32(std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    }

    DeviceScale m_scale;
    DeviceScale m_screen;
    std::int64_t m_ox = 0;
    std::int64_t m_oy = 0;
};
