#pragma once

#include "platform/geometry/CRect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// How a device with more (or fewer) pixels than logical units, such as a HiDPI screen, shows
// logical coordinates. Drawings, files and records stay in logical units; only the device maps
// them, and only here.
//
// The ratio is kept in fixed point, so that a coordinate maps to the same pixel every time, and
// any 32-bit coordinate times the largest ratio stays far inside 64 bits. A coordinate maps to
// the pixel at ratio times coordinate, rounded half up; rectangle edges map the same way, so
// the pixels of neighbouring rectangles tile without gap or overlap and every point lands in
// the pixels of the rectangles that hold it.
class DeviceScale {
public:
    static constexpr int kFractionBits = 16;
    static constexpr std::int64_t kOne = std::int64_t(1) << kFractionBits;
    // Ratios beyond these are taken as these: no screen comes near them, and the bounds keep
    // every product below 2^63.
    static constexpr std::int64_t kMin = kOne / 16;
    static constexpr std::int64_t kMax = kOne * 64;
    // A screen's ratio times a zoom is held within these: from a sixty-fourth of the smallest
    // ratio to sixty-four times a ratio of four.
    static constexpr std::int64_t kMinZoomed = kOne / 1024;
    static constexpr std::int64_t kMaxZoomed = kOne * 256;

    // One pixel per unit.
    constexpr DeviceScale() = default;

    // The ratio a screen or image reports; one when it is not a positive number.
    static DeviceScale FromRatio(double ratio) {
        DeviceScale scale;
        if (!(ratio > 0) || !std::isfinite(ratio))
            return scale;
        const double fixed = std::round(ratio * double(kOne));
        scale.m_fixed =
            std::clamp(static_cast<std::int64_t>(std::min(fixed, double(kMax))), kMin, kMax);
        return scale;
    }

    // This ratio times a zoom given in the same fixed point, rounded half up. A zoom of one
    // gives this ratio exactly.
    constexpr DeviceScale Zoomed(std::int64_t zoomFixed) const {
        DeviceScale scale;
        zoomFixed = std::clamp(zoomFixed, std::int64_t(1), kMaxZoomed);
        scale.m_fixed =
            std::clamp((m_fixed * zoomFixed + kOne / 2) >> kFractionBits, kMinZoomed, kMaxZoomed);
        return scale;
    }

    constexpr bool IsOne() const { return m_fixed == kOne; }
    constexpr double Ratio() const { return double(m_fixed) / double(kOne); }

    // The pixel that shows the coordinate. Coordinates far beyond the 32-bit range, which no
    // caller passes, are held at 2^38 so that the product cannot overflow.
    constexpr std::int64_t Map(std::int64_t v) const {
        if (m_fixed == kOne)
            return v;
        v = std::clamp(v, -kFarUnits, kFarUnits);
        return (v * m_fixed + kOne / 2) >> kFractionBits;
    }

    // Map for a 32-bit coordinate, which no ratio can carry beyond 2^55: nothing to hold back.
    constexpr std::int64_t Map32(std::int32_t v) const {
        return (std::int64_t(v) * m_fixed + kOne / 2) >> kFractionBits;
    }

    // The pixels needed to show a length of units whole, rounded up.
    constexpr std::int64_t Cover(std::int64_t length) const {
        length = std::clamp(length, std::int64_t(0), kFarUnits);
        return (length * m_fixed + kOne - 1) >> kFractionBits;
    }

    // The pixels that show a logical rectangle: left <= x < right of the result show exactly
    // the units left <= x < right. Edges beyond the 32-bit range are held at its ends, which
    // changes no rectangle's meeting with an image.
    constexpr CRect ToDevice(const CRect& logical) const {
        return CRect(Clamp32(Map(logical.left)), Clamp32(Map(logical.top)),
                     Clamp32(Map(logical.right)), Clamp32(Map(logical.bottom)));
    }

    // The last logical unit that maps to the pixel or before it: the unit whose pixels hold it.
    constexpr std::int64_t UnitAt(std::int64_t pixel) const {
        if (m_fixed == kOne)
            return pixel;
        pixel = std::clamp(pixel, -kFar, kFar);
        // Map(u) <= pixel exactly when u * ratio + 1/2 < pixel + 1, in fixed point.
        const std::int64_t limit = (pixel + 1) * kOne - kOne / 2 - 1;
        std::int64_t unit = limit / m_fixed;
        if (limit % m_fixed != 0 && limit < 0)
            --unit;
        return unit;
    }

    // The first logical unit that the pixel shows, or, where no unit maps to it, the unit whose
    // pixels hold it.
    constexpr std::int64_t FirstUnitAt(std::int64_t pixel) const {
        return std::min(UnitAt(pixel), UnitAt(pixel - 1) + 1);
    }

    // The pixel after the last that units first <= u < end are drawn on: the right or bottom
    // edge of a clip that must hold them. Below one pixel per unit, several units share a pixel,
    // and the last unit's may be the one where the next unit starts, which a fill of the units
    // leaves out.
    constexpr std::int64_t MapEnd(std::int64_t first, std::int64_t end) const {
        if (end <= first)
            return Map(end);
        return std::max(Map(end), Map(end - 1) + 1);
    }

    // The pixels that drawing within a logical rectangle can touch: those of ToDevice, and at
    // ratios below one also the pixel of the last column and row of units.
    constexpr CRect Reach(const CRect& logical) const {
        return CRect(Clamp32(Map(logical.left)), Clamp32(Map(logical.top)),
                     Clamp32(MapEnd(logical.left, logical.right)),
                     Clamp32(MapEnd(logical.top, logical.bottom)));
    }

    // The fewest logical units that hold every unit drawn on the pixels left <= x < right of the
    // result, for a clipping box in logical units: ToDevice of the result holds the pixels. At
    // one pixel per unit or more, the first is the unit whose pixels hold the first pixel; below,
    // it is the first of the units that share that pixel, for a curve ending at any of them
    // shows there. An empty rectangle gives an empty one.
    constexpr CRect ToLogical(const CRect& pixels) const {
        if (pixels.IsRectEmpty())
            return CRect(Clamp32(UnitAt(pixels.left)), Clamp32(UnitAt(pixels.top)),
                         Clamp32(UnitAt(pixels.left)), Clamp32(UnitAt(pixels.top)));
        return CRect(Clamp32(FirstUnitAt(pixels.left)), Clamp32(FirstUnitAt(pixels.top)),
                     Clamp32(UnitAt(std::int64_t(pixels.right) - 1) + 1),
                     Clamp32(UnitAt(std::int64_t(pixels.bottom) - 1) + 1));
    }

    // A logical rectangle that holds the pixels however a platform rounds it: for a platform
    // that takes the part of a window to show again in logical units and rounds those to pixels
    // its own way, from a window that may itself start between two pixels. Three pixels' worth
    // of units on each side more than ToLogical outlast any rounding of the edges and of the
    // window's place.
    constexpr CRect ToLogicalAround(const CRect& pixels) const {
        const CRect units = ToLogical(pixels);
        if (m_fixed == kOne || pixels.IsRectEmpty())
            return units;
        const std::int64_t margin = (3 * kOne + m_fixed - 1) / m_fixed;
        return CRect(Clamp32(units.left - margin), Clamp32(units.top - margin),
                     Clamp32(units.right + margin), Clamp32(units.bottom + margin));
    }

    friend constexpr bool operator==(const DeviceScale&, const DeviceScale&) = default;

private:
    static constexpr std::int64_t kFar = std::int64_t(1) << 40;
    static constexpr std::int64_t kFarUnits = std::int64_t(1) << 38;

    static constexpr std::int32_t Clamp32(std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    }

    std::int64_t m_fixed = kOne;
};
