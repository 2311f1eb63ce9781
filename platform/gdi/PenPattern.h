#pragma once

#include "platform/gdi/GdiConstants.h"

#include <cstdint>

// The on and off runs of a styled one-pixel pen, as a bit mask over one period of pixels: bit i
// set means the i-th pixel of the period is drawn. The dotted pen draws three pixels and skips
// three, which shows as dots on screen and survives inversion on any background.
struct PenPattern {
    std::uint32_t mask = 1;
    int period = 1;

    bool IsSolid() const { return period == 1; }
    bool On(int phase) const { return ((mask >> phase) & 1u) != 0; }

    static PenPattern ForStyle(int style) {
        switch (style) {
        case PS_DASH: // 18 on, 6 off
            return {0x0003FFFFu, 24};
        case PS_DOT: // 3 on, 3 off
            return {0x07u, 6};
        case PS_DASHDOT: // 9 on, 6 off, 3 on, 6 off
            return {0x001C01FFu, 24};
        case PS_DASHDOTDOT: // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
            return {0x001C71FFu, 24};
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
