#pragma once

#include "platform/gdi/raster/PixelOps.h"

#include <algorithm>
#include <cstdint>

namespace raster {
// Internal linkage lets the compiler specialise the sampling loops for their one caller in
// each file, which it does not do for functions other files might share.
namespace {

__extension__ typedef __int128 Int128;

inline Int128 FloorDiv(Int128 a, Int128 b) { // b > 0
    Int128 q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    return q;
}

inline Int128 CeilDiv(Int128 a, Int128 b) { // b > 0
    Int128 q = a / b;
    if (a % b != 0 && a > 0)
        ++q;
    return q;
}

// Lines step one pixel along the major axis and round the other coordinate half up, leaving out
// the last pixel. A line that leaves the image is clipped before any pixel is walked, so that
// its cost is that of its visible part wherever its ends lie in the 32-bit range.
template <class Op, bool Patterned> class LineStepper {
public:
    explicit LineStepper(const RasterPen<Op>& pen)
        : m_bits(pen.bits), m_width(pen.width), m_height(pen.height), m_stride(pen.stride),
          m_op(pen.op), m_pattern(pen.pattern), m_phase(pen.phase) {}

    int Phase() const { return m_phase; }

    // Image coordinates: the caller has taken the origin off.
    void Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        if (Inside(x0, y0) && Inside(x1, y1))
            LineInside(int(x0), int(y0), int(x1), int(y1));
        else
            LineClipped(x0, y0, x1, y1);
    }

private:
    bool Inside(std::int64_t x, std::int64_t y) const {
        return x >= 0 && y >= 0 && x < m_width && y < m_height;
    }

    // Plots n pixels from offset `at`, one major step each, adding a minor step whenever the
    // error term e, which grows by inc, reaches limit.
    void Walk(std::ptrdiff_t at, std::int64_t n, std::ptrdiff_t majorStep, std::ptrdiff_t minorStep,
              std::int64_t e, std::int64_t inc, std::int64_t limit) {
        std::uint32_t* const bits = m_bits;
        int phase = m_phase;
        for (; n > 0; --n) {
            if constexpr (Patterned) {
                if (m_pattern.On(phase))
                    m_op(bits + at);
                if (++phase == m_pattern.period)
                    phase = 0;
            } else {
                m_op(bits + at);
            }
            at += majorStep;
            e += inc;
            if (e >= limit) {
                e -= limit;
                at += minorStep;
            }
        }
        m_phase = phase;
    }

    // Both ends lie in the image, so every pixel between does.
    void LineInside(int x0, int y0, int x1, int y1) {
        const int dx = x1 - x0;
        const int dy = y1 - y0;
        const int adx = dx < 0 ? -dx : dx;
        const int ady = dy < 0 ? -dy : dy;
        const std::ptrdiff_t sx = dx < 0 ? -1 : 1;
        const std::ptrdiff_t sy = dy < 0 ? -m_stride : m_stride;
        const std::ptrdiff_t at = std::ptrdiff_t(y0) * m_stride + x0;
        if (adx >= ady)
            Walk(at, adx, sx, sy, adx, 2 * std::int64_t(ady), 2 * std::int64_t(adx));
        else
            Walk(at, ady, sy, sx, ady, 2 * std::int64_t(adx), 2 * std::int64_t(ady));
    }

    // Pixel i of the line (0 <= i < M, M the major extent, m the minor one) lies i steps along
    // the major axis and floor((2im + M) / 2M) along the minor one. The range of i inside the
    // image follows from both axes in closed form, so only visible pixels are walked, and they
    // are exactly the pixels the whole line would have.
    void LineClipped(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        const std::int64_t dx = x1 - x0;
        const std::int64_t dy = y1 - y0;
        const std::int64_t adx = dx < 0 ? -dx : dx;
        const std::int64_t ady = dy < 0 ? -dy : dy;
        const bool xMajor = adx >= ady;
        const std::int64_t bigM = xMajor ? adx : ady;
        const std::int64_t m = xMajor ? ady : adx;
        if (bigM == 0)
            return;
        // The pattern runs on by the whole line, visible or not.
        const int phaseAfter = int((m_phase + bigM) % m_pattern.period);
        WalkVisible(x0, y0, dx, dy, xMajor, bigM, m);
        m_phase = phaseAfter;
    }

    void WalkVisible(std::int64_t x0, std::int64_t y0, std::int64_t dx, std::int64_t dy,
                     bool xMajor, std::int64_t bigM, std::int64_t m) {
        const std::int64_t a0 = xMajor ? x0 : y0;
        const std::int64_t b0 = xMajor ? y0 : x0;
        const bool aUp = (xMajor ? dx : dy) > 0;
        const bool bUp = (xMajor ? dy : dx) > 0;
        const std::int64_t aSize = xMajor ? m_width : m_height;
        const std::int64_t bSize = xMajor ? m_height : m_width;

        Int128 lo = 0;
        Int128 hi = bigM - 1;
        if (aUp) {
            lo = std::max<Int128>(lo, -a0);
            hi = std::min<Int128>(hi, aSize - 1 - a0);
        } else {
            lo = std::max<Int128>(lo, a0 - (aSize - 1));
            hi = std::min<Int128>(hi, a0);
        }
        // The minor offset k(i) must stay within [kLo, kHi].
        const std::int64_t kLo = bUp ? -b0 : b0 - (bSize - 1);
        const std::int64_t kHi = bUp ? bSize - 1 - b0 : b0;
        if (m == 0) {
            if (kLo > 0 || kHi < 0)
                return;
        } else {
            const Int128 twoM = Int128(2) * bigM;
            const Int128 twom = Int128(2) * m;
            lo = std::max(lo, CeilDiv(twoM * kLo - bigM, twom));
            hi = std::min(hi, CeilDiv(twoM * (Int128(kHi) + 1) - bigM, twom) - 1);
        }
        if (lo > hi)
            return;

        const Int128 num = Int128(2) * lo * m + bigM;
        const Int128 k = FloorDiv(num, Int128(2) * bigM);
        const auto e = static_cast<std::int64_t>(num - k * 2 * bigM);
        const auto a = static_cast<std::int64_t>(aUp ? a0 + lo : a0 - lo);
        const auto b = static_cast<std::int64_t>(bUp ? b0 + k : b0 - k);
        const std::int64_t x = xMajor ? a : b;
        const std::int64_t y = xMajor ? b : a;
        const std::ptrdiff_t xStep = (xMajor ? aUp : bUp) ? 1 : -1;
        const std::ptrdiff_t yStep = (xMajor ? bUp : aUp) ? m_stride : -m_stride;
        m_phase = int((m_phase + static_cast<std::int64_t>(lo)) % m_pattern.period);
        Walk(std::ptrdiff_t(y) * m_stride + std::ptrdiff_t(x),
             static_cast<std::int64_t>(hi - lo + 1), xMajor ? xStep : yStep, xMajor ? yStep : xStep,
             e, 2 * m, 2 * bigM);
    }

    std::uint32_t* m_bits;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride;
    Op m_op;
    PenPattern m_pattern;
    int m_phase;
};

} // namespace
} // namespace raster
