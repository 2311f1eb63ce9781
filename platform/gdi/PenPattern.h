#pragma once

#include "platform/gdi/DeviceScale.h"
#include "platform/gdi/GdiConstants.h"

#include <algorithm>
#include <cstdint>

// The on and off runs of a styled one-pixel pen, as a bit mask over one period of pixels: bit i
// set means the i-th pixel of the period is drawn. The dotted pen draws three pixels and skips
// three, which shows as dots on screen and survives inversion on any background.
//
// On a device with more pixels per unit the period stretches over more pixels, so that dots and
// dashes keep their size while the line stays one pixel wide: pixel i of the period then shows
// bit i * units / period.
struct PenPattern {
    std::uint32_t mask = 1;
    // Pixels of one period on the device.
    int period = 1;
    // Bits of the mask in one period.
    int units = 1;

    bool IsSolid() const { return units == 1; }
    bool On(int phase) const {
        const int bit = units == period ? phase : phase * units / period;
        return ((mask >> bit) & 1u) != 0;
    }

    // The pattern as a device of this scale draws it.
    PenPattern ScaledBy(const DeviceScale& scale) const {
        if (IsSolid() || scale.IsOne())
            return *this;
        PenPattern scaled = *this;
        scaled.period = int(std::max<std::int64_t>(1, scale.Map(units)));
        return scaled;
    }

    static PenPattern ForStyle(int style) {
        switch (style) {
        case PS_DASH: // 18 on, 6 off
            return {0x0003FFFFu, 24, 24};
        case PS_DOT: // 3 on, 3 off
            return {0x07u, 6, 6};
        case PS_DASHDOT: // 9 on, 6 off, 3 on, 6 off
            return {0x001C01FFu, 24, 24};
        case PS_DASHDOTDOT: // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
            return {0x001C71FFu, 24, 24};
        default:
            return {};
        }
    }

    // The runs as alternating on and off lengths, for devices that take a dash list.
    int Runs(int* runs) const {
        int n = 0;
        int i = 0;
        while (i < period) {
            const bool on = On(i);
            int len = 0;
            while (i < period && On(i) == on) {
                ++len;
                ++i;
            }
            runs[n++] = len;
        }
        return n;
    }
};
