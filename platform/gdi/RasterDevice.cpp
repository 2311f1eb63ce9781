#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/PenPattern.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <type_traits>

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

// Rounds half up; v lies well within the 64-bit range.
std::int64_t RoundHalfUp(double v) {
    const double f = v + 0.5;
    const auto t = static_cast<std::int64_t>(f);
    return double(t) > f ? t - 1 : t;
}

// Flattening tolerance in pixels: a chord strays at most this far from the curve before its
// ends are rounded to pixels.
constexpr double kTolerance = 0.25;
// More steps than this and a segment is halved first, so that the parts outside the image are
// skipped and the stepping stays accurate on long segments.
constexpr int kMaxSteps = 256;
// The chord of a step h = 1/n strays from the curve by at most h^2/8 times its second
// derivative, which is at most 6 times the largest second difference dd of the points: n steps
// keep within the tolerance when n^2 >= dd * kStepFactor.
constexpr double kStepFactor = 3.0 / (4.0 * kTolerance);
constexpr int kMaxDepth = 48;

struct Segment {
    double x[4];
    double y[4];
};

template <class Op, bool Patterned> class Plotter {
public:
    Plotter(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride, Op op,
            PenPattern pattern, int phase)
        : m_bits(bits), m_width(width), m_height(height), m_stride(stride), m_op(op),
          m_pattern(pattern), m_phase(phase) {}

    int Phase() const { return m_phase; }

    void Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        if (Inside(x0, y0) && Inside(x1, y1))
            LineInside(int(x0), int(y0), int(x1), int(y1));
        else
            LineClipped(x0, y0, x1, y1);
    }

    void Bezier(const CPoint* points, int count) {
        for (int i = 0; i + 3 < count; i += 3) {
            const CPoint* p = points + i;
            Segment s;
            for (int j = 0; j < 4; ++j) {
                s.x[j] = p[j].x;
                s.y[j] = p[j].y;
            }
            // Most segments of a drawing are short and lie wholly inside the window: they are
            // sorted out in integers, before any floating-point work.
            const auto [minX, maxX] = std::minmax({p[0].x, p[1].x, p[2].x, p[3].x});
            const auto [minY, maxY] = std::minmax({p[0].y, p[1].y, p[2].y, p[3].y});
            // A segment outside is skipped whole, and the pen's pattern does not run on over
            // it: the dots that show stay where they are when the curve is drawn again.
            if (maxX < 0 || maxY < 0 || minX >= m_width || minY >= m_height)
                continue;
            if (minX >= 0 && minY >= 0 && maxX < m_width && maxY < m_height && maxX < 32768 &&
                maxY < 32768) {
                const int dd = std::max({std::abs(p[0].x - 2 * p[1].x + p[2].x),
                                         std::abs(p[1].x - 2 * p[2].x + p[3].x),
                                         std::abs(p[0].y - 2 * p[1].y + p[2].y),
                                         std::abs(p[1].y - 2 * p[2].y + p[3].y)});
                const int n = StepsFor(dd);
                if (n <= kMaxSteps) {
                    CurveInside(s, n);
                    continue;
                }
            }
            Curve(s, 0);
        }
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

    // One pixel of a line, where the pen's pattern says so.
    void Plot(std::ptrdiff_t at) {
        if constexpr (Patterned) {
            if (m_pattern.On(m_phase))
                m_op(m_bits + at);
            if (++m_phase == m_pattern.period)
                m_phase = 0;
        } else {
            m_op(m_bits + at);
        }
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

    void Curve(const Segment& s, int depth) {
        const auto [minX, maxX] = std::minmax({s.x[0], s.x[1], s.x[2], s.x[3]});
        const auto [minY, maxY] = std::minmax({s.y[0], s.y[1], s.y[2], s.y[3]});
        // A Bezier segment lies within the hull of its control points, and a point rounds into
        // the image only from within half a pixel of it.
        if (maxX < -0.5 || maxY < -0.5 || minX >= m_width - 0.5 || minY >= m_height - 0.5)
            return;
        const bool inside = minX >= 0 && minY >= 0 && maxX <= m_width - 1 && maxY <= m_height - 1 &&
                            maxX < 32768 && maxY < 32768;

        const double dd = std::max(
            {std::abs(s.x[0] - 2 * s.x[1] + s.x[2]), std::abs(s.x[1] - 2 * s.x[2] + s.x[3]),
             std::abs(s.y[0] - 2 * s.y[1] + s.y[2]), std::abs(s.y[1] - 2 * s.y[2] + s.y[3])});
        const double steps = std::ceil(std::sqrt(dd * kStepFactor));
        if (steps > kMaxSteps && depth < kMaxDepth) {
            Segment left;
            Segment right;
            Split(s.x, left.x, right.x);
            Split(s.y, left.y, right.y);
            Curve(left, depth + 1);
            Curve(right, depth + 1);
            return;
        }
        const int n = steps < 1 ? 1 : steps > kMaxSteps ? kMaxSteps : int(steps);
        if (inside) {
            CurveInside(s, n);
            return;
        }

        // Forward differences of the cubic, relative to its start so that the sums stay exact
        // enough far from the origin.
        const double h = 1.0 / n;
        double fx[3];
        double fy[3];
        Differences(s.x, h, fx);
        Differences(s.y, h, fy);
        std::int64_t px = RoundHalfUp(s.x[0]);
        std::int64_t py = RoundHalfUp(s.y[0]);
        double rx = 0;
        double ry = 0;
        for (int i = 1; i <= n; ++i) {
            std::int64_t qx;
            std::int64_t qy;
            if (i == n) {
                qx = RoundHalfUp(s.x[3]);
                qy = RoundHalfUp(s.y[3]);
            } else {
                rx += fx[0];
                fx[0] += fx[1];
                fx[1] += fx[2];
                ry += fy[0];
                fy[0] += fy[1];
                fy[1] += fy[2];
                qx = RoundHalfUp(s.x[0] + rx);
                qy = RoundHalfUp(s.y[0] + ry);
            }
            if (qx == px && qy == py)
                continue;
            Line(px, py, qx, qy);
            px = qx;
            py = qy;
        }
    }

    // The common case, a segment wholly inside the image, where every coordinate is below
    // 2^15: the stepping runs in 32.32 fixed point, where rounding to a pixel is an add and a
    // shift, and the many chords of one or two pixels are plotted without setting up a line.
    void CurveInside(const Segment& s, int n) {
        constexpr double kOne = 4294967296.0;
        constexpr std::int64_t kHalf = std::int64_t(1) << 31;
        const double h = 1.0 / n;
        double fx[3];
        double fy[3];
        Differences(s.x, h, fx);
        Differences(s.y, h, fy);
        std::int64_t x = static_cast<std::int64_t>(s.x[0] * kOne);
        std::int64_t y = static_cast<std::int64_t>(s.y[0] * kOne);
        std::int64_t dx[3];
        std::int64_t dy[3];
        for (int k = 0; k < 3; ++k) {
            dx[k] = static_cast<std::int64_t>(fx[k] * kOne);
            dy[k] = static_cast<std::int64_t>(fy[k] * kOne);
        }
        int px = int((x + kHalf) >> 32);
        int py = int((y + kHalf) >> 32);
        std::ptrdiff_t at = std::ptrdiff_t(py) * m_stride + px;
        const auto chordTo = [&](int qx, int qy) {
            const int cx = qx - px;
            const int cy = qy - py;
            if ((cx | cy) == 0)
                return;
            if (unsigned(cx + 2) <= 4u && unsigned(cy + 2) <= 4u) {
                // A chord of one or two pixels: the second, if any, is the diagonal or straight
                // neighbour towards the end, as the line walk would have found it.
                Plot(at);
                if (unsigned(cx + 1) > 2u || unsigned(cy + 1) > 2u)
                    Plot(at + (cx > 0) - (cx < 0) + ((cy > 0) - (cy < 0)) * m_stride);
            } else {
                LineInside(px, py, qx, qy);
            }
            at += cx + std::ptrdiff_t(cy) * m_stride;
            px = qx;
            py = qy;
        };
        for (int i = 1; i < n; ++i) {
            x += dx[0];
            dx[0] += dx[1];
            dx[1] += dx[2];
            y += dy[0];
            dy[0] += dy[1];
            dy[1] += dy[2];
            chordTo(int((x + kHalf) >> 32), int((y + kHalf) >> 32));
        }
        chordTo(int(RoundHalfUp(s.x[3])), int(RoundHalfUp(s.y[3])));
    }

    // The steps for a segment of whole-numbered points whose largest second difference is dd.
    static int StepsFor(int dd) {
        const auto n = static_cast<int>(std::ceil(std::sqrt(dd * kStepFactor)));
        return n < 1 ? 1 : n;
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
    static void Differences(const double* p, double h, double* f) {
        const double c = 3 * (p[1] - p[0]);
        const double b = 3 * (p[0] - 2 * p[1] + p[2]);
        const double a = p[3] - p[0] + 3 * (p[1] - p[2]);
        const double h2 = h * h;
        const double h3 = h2 * h;
        f[0] = a * h3 + b * h2 + c * h;
        f[1] = 6 * a * h3 + 2 * b * h2;
        f[2] = 6 * a * h3;
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

RasterDevice::RasterDevice(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride)
    : m_bits(bits), m_width(bits ? std::max(width, 0) : 0),
      m_height(bits ? std::max(height, 0) : 0), m_stride(stride) {}

std::unique_ptr<DrawingDevice> RasterDevice::OnImage(QImage* image) {
    if (image == nullptr || image->isNull())
        return nullptr;
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    // bits() makes the image's pixels its own if they were shared, so that what is drawn here
    // is what the image shows.
    auto* bits = reinterpret_cast<std::uint32_t*>(image->bits());
    return std::make_unique<RasterDevice>(bits, image->width(), image->height(),
                                          image->bytesPerLine() / 4);
}

void RasterDevice::Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) {
    const PenPattern pattern = PenPattern::ForStyle(pen.style);
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        Plotter<decltype(op), decltype(patterned)::value> plotter(m_bits, m_width, m_height,
                                                                  m_stride, op, pattern, phase);
        plotter.Line(from.x, from.y, to.x, to.y);
        phase = plotter.Phase();
    });
}

void RasterDevice::PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) {
    if (points == nullptr || count < 4)
        return;
    const PenPattern pattern = PenPattern::ForStyle(pen.style);
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        Plotter<decltype(op), decltype(patterned)::value> plotter(m_bits, m_width, m_height,
                                                                  m_stride, op, pattern, 0);
        plotter.Bezier(points, count);
    });
}

void RasterDevice::FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, COLORREF color) {
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
