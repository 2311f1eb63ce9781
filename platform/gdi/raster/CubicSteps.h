#pragma once

// Platform-internal: the arithmetic of stepping along a cubic Bezier segment in fixed point.

#include "platform/gdi/DeviceScale.h"
#include "platform/geometry/CPoint.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace raster {
// Internal linkage, as for the sampler that includes this, which the compiler specialises for
// its one caller in each file.
namespace {

// Bezier segments are drawn by sampling the cubic in steps of less than two pixels along either
// axis; consecutive samples, rounded to pixels, are joined through the pixel halfway between
// them, so the pixels form an unbroken chain that follows the curve within a pixel. A segment
// that would need more steps than this is halved first, which also skips its parts outside the
// image and keeps the fixed-point stepping exact enough.
constexpr int kMaxSteps = 256;
// Sampled coordinates are held in 32.32 fixed point.
constexpr double kFixedOne = 4294967296.0;
constexpr std::int64_t kFixedHalf = std::int64_t(1) << 31;

// Two doubles side by side, for the same arithmetic on both coordinates at once: each lane is
// rounded exactly as the same operation on one double would be.
__extension__ typedef double Double2 __attribute__((vector_size(16)));

// One coordinate of a cubic sampled in n steps, in 32.32 fixed point: the start and the end (plus
// a half, so that the integer part is the rounded pixel) and the first, second and third forward
// differences.
struct Axis {
    std::int64_t start;
    std::int64_t d0;
    std::int64_t d1;
    std::int64_t d2;
    std::int64_t end;
};

// A sample walking along both axes of a cubic, and the differences that carry it on a step.
struct Walk {
    std::int64_t x;
    std::int64_t dx0;
    std::int64_t dx1;
    std::int64_t dx2;
    std::int64_t y;
    std::int64_t dy0;
    std::int64_t dy1;
    std::int64_t dy2;

    Walk(const Axis& ax, const Axis& ay)
        : x(ax.start), dx0(ax.d0), dx1(ax.d1), dx2(ax.d2), y(ay.start), dy0(ay.d0), dy1(ay.d1),
          dy2(ay.d2) {}

    void Step() {
        x += dx0;
        dx0 += dx1;
        dx1 += dx2;
        y += dy0;
        dy0 += dy1;
        dy1 += dy2;
    }
};

// The length of a step, 1/n, and its square and cube, for every number of steps a segment is
// sampled in: a division per segment costs more than a look-up. They are held in units of the
// fixed point's fraction, which changes no product's rounding, as the unit is a power of two.
struct StepPowers {
    double h;
    double h2;
    double h3;
};

inline std::array<StepPowers, kMaxSteps + 1> MakeStepPowers() {
    std::array<StepPowers, kMaxSteps + 1> powers{};
    for (int n = 1; n <= kMaxSteps; ++n) {
        const double h = 1.0 / n;
        const double h2 = h * h;
        powers[std::size_t(n)] = {h * kFixedOne, h2 * kFixedOne, h2 * h * kFixedOne};
    }
    return powers;
}

const std::array<StepPowers, kMaxSteps + 1> g_stepPowers = MakeStepPowers();

// The differences of consecutive whole-numbered control points along one axis, from which
// both the steps a segment needs and its cubic's coefficients follow.
struct Deltas {
    std::int64_t a;
    std::int64_t b;
    std::int64_t c;

    explicit Deltas(const std::int64_t* p) : Deltas(p[0], p[1], p[2], p[3]) {}
    Deltas(std::int64_t p0, std::int64_t p1, std::int64_t p2, std::int64_t p3)
        : a(p1 - p0), b(p2 - p1), c(p3 - p2) {}

    // The coefficients of t^3, t^2 and t of the cubic over the points.
    std::int64_t Cubic() const { return a - 2 * b + c; }
    std::int64_t Square() const { return 3 * (b - a); }
    std::int64_t Linear() const { return 3 * a; }

    // The derivative of the cubic is three times the quadratic Bezier over a, b and c; halving
    // that quadratic bounds it by |a|, |c|, |a + b| / 2, |b + c| / 2 and |a + 2b + c| / 4,
    // which is much closer than the largest difference and needs no division. This is four
    // times that bound.
    std::int64_t Bound4() const {
        const std::int64_t ends = 4 * std::max(Abs(a), Abs(c));
        const std::int64_t halves = 2 * std::max(Abs(a + b), Abs(b + c));
        return std::max(std::max(ends, halves), Abs(a + 2 * b + c));
    }

    // The steps that keep every step below two pixels along the axis, for the larger of two
    // bounds.
    static std::int64_t Steps(std::int64_t bound4) {
        return std::int64_t(3 * std::uint64_t(bound4) / 8) + 1;
    }

private:
    static std::int64_t Abs(std::int64_t v) { return v < 0 ? -v : v; }
};

__extension__ typedef std::int32_t Int4 __attribute__((vector_size(16)));
__extension__ typedef std::int32_t Int2 __attribute__((vector_size(8)));

// Both axes of a segment of whole-numbered points less than 2^27 apart, the same bound and
// coefficients as Deltas gives for each, in 32-bit lanes side by side: every drawn segment
// needs them, and the lanes take a quarter of the instructions.
class PairedDeltas {
public:
    static constexpr std::int32_t kMostApart = 1 << 27;

    // first: the points p[0] and p[1], x and y; second: p[2] and p[3].
    PairedDeltas(Int4 first, Int4 second) {
        const Int4 evens = __builtin_shufflevector(first, second, 0, 1, 4, 5); // p[0], p[2]
        const Int4 odds = __builtin_shufflevector(first, second, 2, 3, 6, 7);  // p[1], p[3]
        m_ends = odds - evens;                                                 // a, c
        m_halves = second - first;                                             // a + b, b + c
    }

    // Deltas::Bound4 of the axis that needs more steps.
    std::int64_t Bound4() const {
        const Int4 middles = m_halves + High(m_halves);
        const Int4 bound = Max(Max(Abs(m_ends) << 2, Abs(m_halves) << 1), Abs(middles));
        const Int4 both = Max(bound, High(bound));
        return std::max(both[0], both[1]);
    }

    // The coefficients of t^3, t^2 and t, x and y side by side, as Deltas gives them.
    Double2 Cubic() const { return Low(3 * m_ends - 2 * m_halves + High(m_ends)); }
    Double2 Square() const { return Low(3 * (m_halves - 2 * m_ends)); }
    Double2 Linear() const { return Low(3 * m_ends); }

private:
    static Int4 Abs(Int4 v) {
        const Int4 sign = v >> 31;
        return (v ^ sign) - sign;
    }
    static Int4 Max(Int4 a, Int4 b) { return a > b ? a : b; }
    static Int4 High(Int4 v) { return __builtin_shufflevector(v, v, 2, 3, 0, 1); }
    static Double2 Low(Int4 v) { return __builtin_convertvector(Int2{v[0], v[1]}, Double2); }

    Int4 m_ends;
    Int4 m_halves;
};

// A segment's four points, which lie next to each other in memory, as two pairs of points.
struct PointPairs {
    Int4 first;
    Int4 second;

    explicit PointPairs(const CPoint* p) {
        static_assert(sizeof(CPoint) == 8 && offsetof(CPoint, y) == 4);
        std::memcpy(&first, p, sizeof first);
        std::memcpy(&second, p + 2, sizeof second);
    }
};

// The logical points that a mapping puts inside a clip, as bounds on the points themselves, so
// that four points are tested at once.
class PointWindow {
public:
    PointWindow() = default;
    // The clip's pixels, and the pixel of the origin.
    PointWindow(const DeviceScale& scale, std::int64_t left, std::int64_t top, std::int64_t right,
                std::int64_t bottom, std::int64_t ox, std::int64_t oy) {
        if (left >= right || top >= bottom)
            return;
        // The units from the first after those mapped before the clip to the last mapped
        // inside it. Bounds beyond the 32-bit range are cut to it, which no point can tell from
        // the bounds themselves.
        const std::int32_t lx = Cut(scale.UnitAt(left - 1 + ox) + 1);
        const std::int32_t ly = Cut(scale.UnitAt(top - 1 + oy) + 1);
        const std::int32_t hx = Cut(scale.UnitAt(right - 1 + ox));
        const std::int32_t hy = Cut(scale.UnitAt(bottom - 1 + oy));
        // Mapping keeps order, so bounds that map inside hold only points that do; a clip
        // wholly beyond the range, or between two units' pixels, holds none.
        if (lx > hx || ly > hy || scale.Map32(lx) < left + ox || scale.Map32(ly) < top + oy ||
            scale.Map32(hx) > right - 1 + ox || scale.Map32(hy) > bottom - 1 + oy)
            return;
        m_low = Int4{lx, ly, lx, ly};
        m_high = Int4{hx, hy, hx, hy};
    }

    bool Holds(const PointPairs& p) const {
        const Int4 outside =
            (m_low > p.first) | (p.first > m_high) | (m_low > p.second) | (p.second > m_high);
        std::uint64_t halves[2];
        std::memcpy(halves, &outside, sizeof halves);
        return (halves[0] | halves[1]) == 0;
    }

private:
    static std::int32_t Cut(std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    }

    // An empty window: no point is at least the largest and at most the smallest.
    Int4 m_low = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    Int4 m_high = {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN};
};

// Both coordinates of a cubic sampled in n steps (1 <= n <= kMaxSteps).
struct Axes {
    Axis x;
    Axis y;

    void Set(const double* px, const double* py, int n) {
        const Double2 p0 = {px[0], py[0]};
        const Double2 p1 = {px[1], py[1]};
        const Double2 p2 = {px[2], py[2]};
        const Double2 p3 = {px[3], py[3]};
        Differences(p3 - p0 + 3.0 * (p1 - p2), 3.0 * (p0 - 2.0 * p1 + p2), 3.0 * (p1 - p0), n);
        x.start = static_cast<std::int64_t>(px[0] * kFixedOne) + kFixedHalf;
        x.end = static_cast<std::int64_t>(px[3] * kFixedOne) + kFixedHalf;
        y.start = static_cast<std::int64_t>(py[0] * kFixedOne) + kFixedHalf;
        y.end = static_cast<std::int64_t>(py[3] * kFixedOne) + kFixedHalf;
    }

    void Set(const std::int64_t* px, const std::int64_t* py, int n) {
        Set(px[0], px[3], py[0], py[3], Deltas(px), Deltas(py), n);
    }

    // The same from the segment's ends and the points' differences.
    void Set(std::int64_t x0, std::int64_t x3, std::int64_t y0, std::int64_t y3, const Deltas& dx,
             const Deltas& dy, int n) {
        const Double2 a = {double(dx.Cubic()), double(dy.Cubic())};
        const Double2 b = {double(dx.Square()), double(dy.Square())};
        const Double2 c = {double(dx.Linear()), double(dy.Linear())};
        Set(x0, x3, y0, y3, a, b, c, n);
    }
    void Set(std::int64_t x0, std::int64_t x3, std::int64_t y0, std::int64_t y3,
             const PairedDeltas& d, int n) {
        Set(x0, x3, y0, y3, d.Cubic(), d.Square(), d.Linear(), n);
    }

    // The same from the segment's ends and its cubic's coefficients.
    void Set(std::int64_t x0, std::int64_t x3, std::int64_t y0, std::int64_t y3, Double2 a,
             Double2 b, Double2 c, int n) {
        Differences(a, b, c, n);
        x.start = (x0 << 32) + kFixedHalf;
        x.end = (x3 << 32) + kFixedHalf;
        y.start = (y0 << 32) + kFixedHalf;
        y.end = (y3 << 32) + kFixedHalf;
    }

    // For the cubics a t^3 + b t^2 + c t + start.
    void Differences(Double2 a, Double2 b, Double2 c, int n) {
        const StepPowers& p = g_stepPowers[std::size_t(n)];
        const Double2 d2 = 6.0 * a * p.h3;
        const Double2 d0 = a * p.h3 + b * p.h2 + c * p.h;
        const Double2 d1 = d2 + 2.0 * b * p.h2;
        x.d0 = static_cast<std::int64_t>(d0[0]);
        y.d0 = static_cast<std::int64_t>(d0[1]);
        x.d1 = static_cast<std::int64_t>(d1[0]);
        y.d1 = static_cast<std::int64_t>(d1[1]);
        x.d2 = static_cast<std::int64_t>(d2[0]);
        y.d2 = static_cast<std::int64_t>(d2[1]);
    }
};

} // namespace
} // namespace raster
