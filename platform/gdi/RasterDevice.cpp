#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/PenPattern.h"

#include <QImage>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

__extension__ typedef __int128 Int128;

// The image's pixels are 0xAARRGGBB; colours arrive as 0x00BBGGRR.
std::uint32_t ToPixel(COLORREF c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

struct CopyOp {
    std::uint32_t value;
    void operator()(std::uint32_t* p) const { *p = value; }
};

struct InvertOp {
    void operator()(std::uint32_t* p) const { *p ^= 0x00FFFFFFu; }
};

// Any of the sixteen raster operations: code - 1 is the truth table of pen and destination,
// bit 3 for (pen 1, destination 1) down to bit 0 for (0, 0).
struct TableOp {
    std::uint32_t pen;
    unsigned table;
    void operator()(std::uint32_t* p) const {
        const std::uint32_t d = *p;
        std::uint32_t r = 0;
        if (table & 8u)
            r |= pen & d;
        if (table & 4u)
            r |= pen & ~d;
        if (table & 2u)
            r |= ~pen & d;
        if (table & 1u)
            r |= ~pen & ~d;
        *p = 0xFF000000u | (r & 0x00FFFFFFu);
    }
};

// Calls f(op, patterned) with the pixel operation for the raster operation and whether the pen
// has a pattern, so that each combination gets its own tight loops.
template <class F> void WithPixelOp(int rop, const PenAttributes& pen, F&& f) {
    const bool patterned = !PenPattern::ForStyle(pen.style).IsSolid();
    auto withPattern = [&](auto op) {
        if (patterned)
            f(op, std::true_type{});
        else
            f(op, std::false_type{});
    };
    const std::uint32_t value = ToPixel(pen.color);
    switch (rop) {
    case R2_NOP:
        return;
    case R2_COPYPEN:
        return withPattern(CopyOp{value});
    case R2_NOT:
        return withPattern(InvertOp{});
    case R2_BLACK:
        return withPattern(CopyOp{0xFF000000u});
    case R2_WHITE:
        return withPattern(CopyOp{0xFFFFFFFFu});
    default:
        return withPattern(TableOp{value, unsigned(rop - 1) & 15u});
    }
}

Int128 FloorDiv(Int128 a, Int128 b) { // b > 0
    Int128 q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    return q;
}

Int128 CeilDiv(Int128 a, Int128 b) { // b > 0
    Int128 q = a / b;
    if (a % b != 0 && a > 0)
        ++q;
    return q;
}

// Bezier segments are drawn by sampling the cubic in steps of less than two pixels along either
// axis; consecutive samples, rounded to pixels, are joined through the pixel halfway between
// them, so the pixels form an unbroken chain that follows the curve within a pixel. A segment
// that would need more steps than this is halved first, which also skips its parts outside the
// image and keeps the fixed-point stepping exact enough.
constexpr int kMaxSteps = 256;
constexpr int kMaxDepth = 48;
// Sampled coordinates are held in 32.32 fixed point.
constexpr double kFixedOne = 4294967296.0;
constexpr std::int64_t kFixedHalf = std::int64_t(1) << 31;
constexpr double kFixedLimit = 1073741824.0; // 2^30

struct Segment {
    double x[4];
    double y[4];
};

// One coordinate of a cubic sampled in n steps, in 32.32 fixed point: the start and the end (plus
// a half, so that the integer part is the rounded pixel) and the first, second and third forward
// differences.
struct Axis {
    std::int64_t start;
    std::int64_t d0;
    std::int64_t d1;
    std::int64_t d2;
    std::int64_t end;

    void Set(const double* p, int n) {
        Differences(p[3] - p[0] + 3 * (p[1] - p[2]), 3 * (p[0] - 2 * p[1] + p[2]),
                    3 * (p[1] - p[0]), n);
        start = static_cast<std::int64_t>(p[0] * kFixedOne) + kFixedHalf;
        end = static_cast<std::int64_t>(p[3] * kFixedOne) + kFixedHalf;
    }

    void Set(const std::int64_t* p, int n) {
        Differences(double(p[3] - p[0] + 3 * (p[1] - p[2])), double(3 * (p[0] - 2 * p[1] + p[2])),
                    double(3 * (p[1] - p[0])), n);
        start = (p[0] << 32) + kFixedHalf;
        end = (p[3] << 32) + kFixedHalf;
    }

    // For the cubic a t^3 + b t^2 + c t + start.
    void Differences(double a, double b, double c, int n) {
        const double h = 1.0 / n;
        const double h2 = h * h;
        const double h3 = h2 * h;
        d0 = static_cast<std::int64_t>((a * h3 + b * h2 + c * h) * kFixedOne);
        d1 = static_cast<std::int64_t>((6 * a * h3 + 2 * b * h2) * kFixedOne);
        d2 = static_cast<std::int64_t>(6 * a * h3 * kFixedOne);
    }
};

template <class Op, bool Patterned> class Plotter {
    // A solid pen that copies its colour gives the same pixels however often and in whatever
    // order it touches them.
    static constexpr bool kIdempotent = !Patterned && std::is_same_v<Op, CopyOp>;

public:
    Plotter(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride, CPoint origin, Op op,
            PenPattern pattern, int phase, std::vector<RasterDevice::HeldSegment>* held = nullptr)
        : m_bits(bits), m_width(width), m_height(height), m_bottom(height), m_stride(stride),
          m_ox(origin.x), m_oy(origin.y), m_op(op), m_pattern(pattern), m_phase(phase),
          m_held(held) {}

    int Phase() const { return m_phase; }

    // Sampled segments write only rows top to bottom - 1.
    void SetRows(int top, int bottom) {
        m_top = top;
        m_bottom = bottom;
    }

    // A segment held back by the device: inside the image, and few enough steps.
    void Held(const RasterDevice::HeldSegment& held) {
        const int minY = std::min(std::min(held.y[0], held.y[1]), std::min(held.y[2], held.y[3]));
        const int maxY = std::max(std::max(held.y[0], held.y[1]), std::max(held.y[2], held.y[3]));
        if (maxY < m_top || minY >= m_bottom)
            return;
        std::int64_t px[4];
        std::int64_t py[4];
        for (int j = 0; j < 4; ++j) {
            px[j] = held.x[j];
            py[j] = held.y[j];
        }
        const int n = int(std::max(StepsFor(px), StepsFor(py)));
        if (minY >= m_top && maxY < m_bottom)
            Sample<false>(px, py, n);
        else
            Sample<true>(px, py, n);
    }

    // Logical coordinates: the origin is taken off here, in 64 bits.
    void Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        ImageLine(x0 - m_ox, y0 - m_oy, x1 - m_ox, y1 - m_oy);
    }

    void Bezier(const CPoint* points, int count) {
        for (int i = 0; i + 3 < count; i += 3) {
            const CPoint* p = points + i;
            std::int64_t px[4];
            std::int64_t py[4];
            for (int j = 0; j < 4; ++j) {
                px[j] = std::int64_t(p[j].x) - m_ox;
                py[j] = std::int64_t(p[j].y) - m_oy;
            }
            // Most segments of a drawing are short and lie wholly inside the window: they are
            // sorted out in integers, before any floating-point work.
            const std::int64_t minX = Min4(px);
            const std::int64_t maxX = Max4(px);
            const std::int64_t minY = Min4(py);
            const std::int64_t maxY = Max4(py);
            // A segment outside is skipped whole, and the pen's pattern does not run on over
            // it: the dots that show stay where they are when the curve is drawn again.
            if (maxX < 0 || maxY < 0 || minX >= m_width || minY >= m_height)
                continue;
            const std::int64_t n = std::max(StepsFor(px), StepsFor(py));
            if (n > kMaxSteps) {
                Segment s;
                for (int j = 0; j < 4; ++j) {
                    s.x[j] = double(px[j]);
                    s.y[j] = double(py[j]);
                }
                Curve(s, 0);
            } else if (minX >= 0 && minY >= 0 && maxX < m_width && maxY < m_height) {
                if constexpr (kIdempotent) {
                    if (m_held != nullptr) {
                        m_held->push_back({{std::int32_t(px[0]), std::int32_t(px[1]),
                                            std::int32_t(px[2]), std::int32_t(px[3])},
                                           {std::int32_t(py[0]), std::int32_t(py[1]),
                                            std::int32_t(py[2]), std::int32_t(py[3])}});
                        continue;
                    }
                }
                Sample<false>(px, py, int(n));
            } else {
                Sample<true>(px, py, int(n));
            }
        }
    }

private:
    // Image coordinates from here on.
    void ImageLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        if (Inside(x0, y0) && Inside(x1, y1))
            LineInside(int(x0), int(y0), int(x1), int(y1));
        else
            LineClipped(x0, y0, x1, y1);
    }

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

    static std::int64_t Abs(std::int64_t v) { return v < 0 ? -v : v; }
    template <class T> static T Min4(const T* v) {
        return std::min(std::min(v[0], v[1]), std::min(v[2], v[3]));
    }
    template <class T> static T Max4(const T* v) {
        return std::max(std::max(v[0], v[1]), std::max(v[2], v[3]));
    }

    // The steps that keep every step below two pixels along one axis. The derivative of the cubic
    // is three times the quadratic Bezier over the differences a, b, c of the control points;
    // halving that quadratic bounds it by |a|, |c|, |a + b| / 2, |b + c| / 2 and
    // |a + 2b + c| / 4, which is much closer than the largest difference and needs no division.
    // Whole-numbered points are bounded in integers, four times over.
    static std::int64_t StepsFor(const std::int64_t* p) {
        const std::int64_t a = p[1] - p[0];
        const std::int64_t b = p[2] - p[1];
        const std::int64_t c = p[3] - p[2];
        const std::int64_t ends = 4 * std::max(Abs(a), Abs(c));
        const std::int64_t halves = 2 * std::max(Abs(a + b), Abs(b + c));
        const std::int64_t bound4 = std::max(std::max(ends, halves), Abs(a + 2 * b + c));
        return 3 * bound4 / 8 + 1;
    }

    // Three times the same bound for points anywhere between whole numbers, with a small
    // margin for rounding.
    static double SpeedBound(const double* p) {
        const double a = p[1] - p[0];
        const double b = p[2] - p[1];
        const double c = p[3] - p[2];
        const double bound = std::max({std::abs(a), std::abs(c), std::abs(a + b) / 2,
                                       std::abs(b + c) / 2, std::abs(a + 2 * b + c) / 4});
        return 3 * bound * (1 + 1e-9);
    }

    void Curve(const Segment& s, int depth) {
        const double minX = Min4(s.x);
        const double maxX = Max4(s.x);
        const double minY = Min4(s.y);
        const double maxY = Max4(s.y);
        // A Bezier segment lies within the hull of its control points, and a point rounds into
        // the image only from within half a pixel of it.
        if (maxX < -0.5 || maxY < -0.5 || minX >= m_width - 0.5 || minY >= m_height - 0.5)
            return;
        const double speed = std::max(SpeedBound(s.x), SpeedBound(s.y)) / 2;
        if (speed >= kMaxSteps && depth < kMaxDepth) {
            Segment left;
            Segment right;
            Split(s.x, left.x, right.x);
            Split(s.y, left.y, right.y);
            Curve(left, depth + 1);
            Curve(right, depth + 1);
            return;
        }
        // Only a segment still vast after every halving, which whole-numbered points within
        // the 32-bit range never give, fails this; it has nothing that fixed point could draw.
        if (minX <= -kFixedLimit || minY <= -kFixedLimit || maxX >= kFixedLimit ||
            maxY >= kFixedLimit)
            return;
        const int n = speed >= kMaxSteps ? kMaxSteps : int(speed) + 1;
        if (minX >= 0 && minY >= 0 && maxX <= m_width - 1 && maxY <= m_height - 1)
            Sample<false>(s, n);
        else
            Sample<true>(s, n);
    }

    // Draws the chain of samples 0 to n - 1 of the segment, leaving out its end pixel, which
    // the next segment starts on. A pen that only copies its colour writes every pixel without
    // a branch, repeats and all; any other pen touches each pixel of the chain once, and its
    // pattern runs on by every pixel, visible or not. Clip says whether samples may fall
    // outside the image.
    template <bool Clip> void Sample(const Segment& s, int n) {
        Axis ax;
        Axis ay;
        ax.Set(s.x, n);
        ay.Set(s.y, n);
        Sample<Clip>(ax, ay, n);
    }

    // A segment of whole-numbered points takes its start and end straight from the integers;
    // the result is the same as from their floating-point copies.
    template <bool Clip> void Sample(const std::int64_t* px, const std::int64_t* py, int n) {
        Axis ax;
        Axis ay;
        ax.Set(px, n);
        ay.Set(py, n);
        Sample<Clip>(ax, ay, n);
    }

    template <bool Clip> void Sample(const Axis& ax, const Axis& ay, int n) {
        std::int64_t x = ax.start;
        std::int64_t y = ay.start;
        std::int64_t dx0 = ax.d0;
        std::int64_t dx1 = ax.d1;
        const std::int64_t dx2 = ax.d2;
        std::int64_t dy0 = ay.d0;
        std::int64_t dy1 = ay.d1;
        const std::int64_t dy2 = ay.d2;
        const std::int64_t endX = ax.end >> 32;
        const std::int64_t endY = ay.end >> 32;
        const auto step = [&] {
            x += dx0;
            dx0 += dx1;
            dx1 += dx2;
            y += dy0;
            dy0 += dy1;
            dy1 += dy2;
        };
        std::uint32_t* const bits = m_bits;
        const std::ptrdiff_t stride = m_stride;
        // Each step moves less than two pixels along either axis, so the point halfway between
        // two samples lies less than a pixel from either, and its pixel joins theirs into an
        // unbroken chain: the chain is the first sample, then for every further sample the
        // pixel halfway to it and the sample itself, and last the pixel halfway to the end.
        // Halfway points keep the half that rounds, as the samples do.
        std::int64_t qx = x;
        std::int64_t qy = y;
        const std::int64_t endHalfX = ax.end;
        const std::int64_t endHalfY = ay.end;
        if constexpr (kIdempotent && !Clip) {
            // Rather than test every pixel against the end pixel, the end pixel is put back
            // as it was.
            const auto at = [&](std::int64_t px, std::int64_t py) {
                return bits + (std::ptrdiff_t(py) * stride + std::ptrdiff_t(px));
            };
            std::uint32_t* const end = at(endX, endY);
            const std::uint32_t endBefore = *end;
            m_op(at(qx >> 32, qy >> 32));
            for (int i = n - 1; i > 0; --i) {
                step();
                m_op(at((qx + x) >> 33, (qy + y) >> 33));
                m_op(at(x >> 32, y >> 32));
                qx = x;
                qy = y;
            }
            m_op(at((qx + endHalfX) >> 33, (qy + endHalfY) >> 33));
            *end = endBefore;
            return;
        }
        const auto visit = [&](std::int64_t px, std::int64_t py) {
            if (px == endX && py == endY)
                return;
            if constexpr (!kIdempotent) {
                if (px == m_lastX && py == m_lastY)
                    return;
                m_lastX = px;
                m_lastY = py;
            }
            const bool visible =
                !Clip || (std::uint64_t(px) < std::uint64_t(m_width) &&
                          std::uint64_t(py - m_top) < std::uint64_t(m_bottom - m_top));
            if constexpr (Patterned) {
                if (visible && m_pattern.On(m_phase))
                    m_op(bits + std::ptrdiff_t(py) * stride + std::ptrdiff_t(px));
                if (++m_phase == m_pattern.period)
                    m_phase = 0;
            } else if (visible) {
                m_op(bits + std::ptrdiff_t(py) * stride + std::ptrdiff_t(px));
            }
        };
        visit(qx >> 32, qy >> 32);
        for (int i = n - 1; i > 0; --i) {
            step();
            visit((qx + x) >> 33, (qy + y) >> 33);
            visit(x >> 32, y >> 32);
            qx = x;
            qy = y;
        }
        visit((qx + endHalfX) >> 33, (qy + endHalfY) >> 33);
    }

    static void Split(const double* p, double* left, double* right) {
        const double p01 = (p[0] + p[1]) / 2;
        const double p12 = (p[1] + p[2]) / 2;
        const double p23 = (p[2] + p[3]) / 2;
        const double p012 = (p01 + p12) / 2;
        const double p123 = (p12 + p23) / 2;
        const double mid = (p012 + p123) / 2;
        left[0] = p[0];
        left[1] = p01;
        left[2] = p012;
        left[3] = mid;
        right[0] = mid;
        right[1] = p123;
        right[2] = p23;
        right[3] = p[3];
    }

    // First, second and third forward differences at t = 0 of the cubic through p, step h.

    std::uint32_t* m_bits;
    int m_width;
    int m_height;
    int m_top = 0;
    int m_bottom;
    std::ptrdiff_t m_stride;
    std::int64_t m_ox;
    std::int64_t m_oy;
    Op m_op;
    PenPattern m_pattern;
    int m_phase;
    std::vector<RasterDevice::HeldSegment>* m_held;
    // The last pixel a sampled segment touched, so that a chain never touches one twice in a row.
    std::int64_t m_lastX = INT64_MIN;
    std::int64_t m_lastY = INT64_MIN;
};

} // namespace

RasterDevice::RasterDevice(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride,
                           CPoint origin)
    : m_bits(bits), m_width(bits ? std::max(width, 0) : 0),
      m_height(bits ? std::max(height, 0) : 0), m_stride(stride), m_origin(origin) {}

namespace {

// The list of held segments is kept from one repaint to the next, so that a repaint does not
// grow a list of the drawing's size from nothing every time.
thread_local std::vector<RasterDevice::HeldSegment> t_spareHeld;

// The most segments whose room is kept (8 MiB): a vast drawing's list goes back when it is drawn.
constexpr std::size_t kKeptHeldSegments = 256 * 1024;

// Fewer segments than this are drawn on the calling thread alone: starting a thread costs more.
constexpr std::size_t kSegmentsWorthAThread = 4096;

bool IsRasterImage(const QImage* image) {
    if (image == nullptr || image->isNull())
        return false;
    const QImage::Format format = image->format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

std::unique_ptr<RasterDevice> DeviceOn(QImage* image) {
    // bits() makes the image's pixels its own if they were shared, so that what is drawn here
    // is what the image shows.
    auto* bits = reinterpret_cast<std::uint32_t*>(image->bits());
    return std::make_unique<RasterDevice>(bits, image->width(), image->height(),
                                          image->bytesPerLine() / 4);
}

} // namespace

RasterDevice::~RasterDevice() {
    if (!m_bHolding)
        return;
    Flush();
    if (m_held.capacity() <= kKeptHeldSegments)
        t_spareHeld.swap(m_held);
}

std::unique_ptr<DrawingDevice> RasterDevice::OnImage(QImage* image) {
    if (!IsRasterImage(image))
        return nullptr;
    return DeviceOn(image);
}

std::unique_ptr<DrawingDevice> RasterDevice::OnWindowImage(QImage* image) {
    if (!IsRasterImage(image))
        return nullptr;
    std::unique_ptr<RasterDevice> device = DeviceOn(image);
    device->m_bHolding = true;
    device->m_held.swap(t_spareHeld);
    device->m_held.clear();
    return device;
}

void RasterDevice::Flush() {
    if (m_held.empty())
        return;
    const auto drawRows = [this](int top, int bottom) {
        Plotter<CopyOp, false> plotter(m_bits, m_width, m_height, m_stride, CPoint(),
                                       CopyOp{m_heldPixel}, PenPattern(), 0);
        plotter.SetRows(top, bottom);
        for (const HeldSegment& segment : m_held)
            plotter.Held(segment);
    };
    // Each half writes only its own rows, so the two never touch the same pixel.
    bool drawn = false;
    if (m_held.size() >= kSegmentsWorthAThread && m_height >= 2 &&
        std::thread::hardware_concurrency() >= 2) {
        const int middle = m_height / 2;
        try {
            std::thread lower([&] { drawRows(middle, m_height); });
            drawRows(0, middle);
            lower.join();
            drawn = true;
        } catch (const std::system_error&) {
            // No thread could be started: the calling thread draws everything below.
        }
    }
    if (!drawn)
        drawRows(0, m_height);
    m_held.clear();
}

void RasterDevice::Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) {
    Flush();
    const PenPattern pattern = PenPattern::ForStyle(pen.style);
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        Plotter<decltype(op), decltype(patterned)::value> plotter(
            m_bits, m_width, m_height, m_stride, m_origin, op, pattern, phase);
        plotter.Line(from.x, from.y, to.x, to.y);
        phase = plotter.Phase();
    });
}

void RasterDevice::PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) {
    if (points == nullptr || count < 4)
        return;
    const PenPattern pattern = PenPattern::ForStyle(pen.style);
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        using Op = decltype(op);
        constexpr bool kPatterned = decltype(patterned)::value;
        // Only segments of one colour under a solid copying pen are held back, for their order
        // does not matter; anything else is drawn after what is held, in order.
        std::vector<HeldSegment>* held = nullptr;
        if constexpr (std::is_same_v<Op, CopyOp> && !kPatterned) {
            if (m_bHolding) {
                if (op.value != m_heldPixel)
                    Flush();
                m_heldPixel = op.value;
                held = &m_held;
            }
        } else {
            Flush();
        }
        Plotter<Op, kPatterned> plotter(m_bits, m_width, m_height, m_stride, m_origin, op, pattern,
                                        0, held);
        plotter.Bezier(points, count);
    });
}

void RasterDevice::FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, COLORREF color) {
    Flush();
    left -= m_origin.x;
    top -= m_origin.y;
    right -= m_origin.x;
    bottom -= m_origin.y;
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, m_width);
    bottom = std::min<std::int64_t>(bottom, m_height);
    if (left >= right || top >= bottom)
        return;
    const std::uint32_t value = ToPixel(color);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t* row = m_bits + y * m_stride;
        std::fill(row + left, row + right, value);
    }
}
