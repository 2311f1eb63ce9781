#include "curve/BezierMatrix.h"
#include "curve/CCurve.h"

#include <algorithm>
#include <cstdint>

namespace {

using bezier_matrix::kSegment;

// Rows 0 and 3 of the segment matrix are unit rows, and the zero entries of rows 1 and 2 add
// only signed zeros to the sums, which truncation cannot see. Leaving those terms out gives the
// same integers as the full four-term sums, in the same order of rounding.
constexpr double m10 = kSegment[1][0], m12 = kSegment[1][2];
constexpr double m21 = kSegment[2][1], m22 = kSegment[2][2], m23 = kSegment[2][3];
static_assert(kSegment[1][1] == 1.0 && kSegment[1][3] == 0.0 && kSegment[2][0] == 0.0);

// A point's two coordinates side by side: the sums are worked out for both at once, each lane
// rounded exactly as the same operation on one double. A repaint converts every curve of the
// drawing, and this halves the arithmetic.
__extension__ typedef double Double2 __attribute__((vector_size(16)));
__extension__ typedef std::int32_t Int2 __attribute__((vector_size(8)));

inline Double2 Coordinates(const CPoint& p) {
    return Double2{double(p.x), double(p.y)};
}

// Truncation toward zero. A value beyond the 32-bit range (possible only for control points
// near its ends) saturates instead of being undefined: whatever lies between the range's last
// integer and the next truncates to that integer anyway. Sums of points near the origin need no
// such care.
template <bool Saturate> CPoint Truncate(Double2 v) {
    if constexpr (Saturate) {
        const Double2 lowest = {-2147483648.0, -2147483648.0};
        const Double2 highest = {2147483647.0, 2147483647.0};
        v = v < lowest ? lowest : v;
        v = v > highest ? highest : v;
    }
    const Int2 xy = __builtin_convertvector(v, Int2);
    return {xy[0], xy[1]};
}

template <bool Saturate> CPoint FirstInner(Double2 q0, Double2 q1, Double2 q2) {
    return Truncate<Saturate>((m10 * q0 + q1) + m12 * q2);
}
template <bool Saturate> CPoint SecondInner(Double2 q1, Double2 q2, Double2 q3) {
    return Truncate<Saturate>((m21 * q1 + m22 * q2) + m23 * q3);
}

// Whether every coordinate lies within 2^30 of the origin, where both sums, which weigh the
// points by at most 1/6 + 1 + 1/6 in all, stay inside the 32-bit range.
bool NearTheOrigin(const CPoint* p, std::size_t n) {
    std::uint32_t far = 0;
    for (std::size_t i = 0; i < n; ++i)
        far |= (std::uint32_t(p[i].x) + 0x40000000u) | (std::uint32_t(p[i].y) + 0x40000000u);
    return (far & 0x80000000u) == 0;
}

// The segments of an open list of n >= 4 control points, after its first point. The neighbours
// of segment s are p[s-2] to p[s+1], the ends standing in for the missing ones, as in
// ConvertSegment; each point is turned into doubles once as the window slides.
template <bool Saturate> void ConvertSegments(const CPoint* p, std::size_t n, CPoint* r) {
    Double2 q0 = Coordinates(p[0]);
    Double2 q1 = q0;
    Double2 q2 = Coordinates(p[1]);
    Double2 q3 = Coordinates(p[2]);
    for (std::size_t s = 1; s < n; ++s) {
        CPoint* out = r + 3 * s - 2;
        out[0] = FirstInner<Saturate>(q0, q1, q2);
        out[1] = SecondInner<Saturate>(q1, q2, q3);
        out[2] = p[s];
        q0 = q1;
        q1 = q2;
        q2 = q3;
        q3 = Coordinates(p[s + 2 < n ? s + 2 : n - 1]);
    }
}

// 2a - b in 32-bit arithmetic, wrapping like the machine's integers.
inline CPoint Reflect(CPoint a, CPoint b) {
    return {WrapSub(WrapMul(2, a.x), b.x), WrapSub(WrapMul(2, a.y), b.y)};
}

// The inner points and the end of segment s (1 <= s < n), which runs from p[s-1] to p[s]; its
// neighbours are p[s-2] and p[s+1], with the first and last control points standing in for the
// missing ones at either end.
inline void ConvertSegment(const CPoint* p, std::size_t n, std::size_t s, CPoint* out) {
    const CPoint& q0 = p[s >= 2 ? s - 2 : 0];
    const CPoint& q1 = p[s - 1];
    const CPoint& q2 = p[s];
    const CPoint& q3 = p[s + 1 < n ? s + 1 : n - 1];
    out[0] = FirstInner<true>(Coordinates(q0), Coordinates(q1), Coordinates(q2));
    out[1] = SecondInner<true>(Coordinates(q1), Coordinates(q2), Coordinates(q3));
    out[2] = q2;
}

// Appends the closing segment after the open list r[0] to r[open - 1]. It reflects the
// neighbouring inner points through the shared end points, so the curve keeps its direction
// across both joints; only r[0], r[1], r[open - 2] and r[open - 1] are read.
inline void CloseSegments(CPoint* r, std::size_t open) {
    r[open] = Reflect(r[open - 1], r[open - 2]);
    r[open + 1] = Reflect(r[0], r[1]);
    r[open + 2] = r[0];
}

} // namespace

std::vector<CPoint> CCurve::ToBezier() const {
    std::vector<CPoint> result;
    ToBezier(result);
    return result;
}

void CCurve::ToBezier(std::vector<CPoint>& result) const {
    const std::size_t n = m_points.size();
    if (n < 4) {
        result.assign(m_points.begin(), m_points.end());
        return;
    }

    const std::size_t open = 3 * n - 2;
    result.resize(m_bClosed ? open + 3 : open);
    const CPoint* p = m_points.data();
    CPoint* r = result.data();

    r[0] = p[0];
    if (NearTheOrigin(p, n))
        ConvertSegments<false>(p, n, r);
    else
        ConvertSegments<true>(p, n, r);
    if (m_bClosed)
        CloseSegments(r, open);
}

CCurve::Span CCurve::SpanOfConverted(const std::vector<CPoint>& converted, bool closed) {
    Span span = SpanOfPoints(converted.data(), converted.size());
    const std::size_t open = converted.size();
    // Fewer than four points are joined by lines within their own bounds, closed or not.
    if (closed || open < 4)
        return span;
    CPoint r[7] = {converted[0], converted[1], converted[open - 2], converted[open - 1]};
    CloseSegments(r, 4);
    return UnionSpan(span, SpanOfPoints(r + 3, 4));
}

CCurve::Span CCurve::SpanAround(std::size_t index) const {
    const std::size_t n = m_points.size();
    if (index >= n)
        return SpanOfPoints(nullptr, 0);
    // Up to four points, a change reshapes the whole curve: fewer are joined by lines, and the
    // fourth turns them into Bezier segments.
    if (n <= 4)
        return KeptSpan();

    // Point i is a neighbour of the segments i - 1 to i + 2; the first and last points also
    // stand in for the missing neighbours at either end, which keeps them within that range.
    const CPoint* p = m_points.data();
    const std::size_t first = index >= 2 ? index - 1 : 1;
    const std::size_t last = std::min(index + 2, n - 1);
    Span span = SpanOfPoints(p + first - 1, 1);
    for (std::size_t s = first; s <= last; ++s) {
        CPoint inner[3];
        ConvertSegment(p, n, s, inner);
        span = UnionSpan(span, SpanOfPoints(inner, 3));
    }
    {
        // The closing segment reflects the inner points next to both ends, whichever point
        // moved; it counts whether or not the curve is closed.
        CPoint r[7];
        r[0] = p[0];
        ConvertSegment(p, n, 1, r + 1);
        CPoint end[3];
        ConvertSegment(p, n, n - 1, end);
        r[2] = end[1];
        r[3] = end[2];
        CloseSegments(r, 4);
        span = UnionSpan(span, SpanOfPoints(r + 3, 4));
    }
    return span;
}
