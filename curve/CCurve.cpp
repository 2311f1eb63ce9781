#include "curve/CCurve.h"

#include <algorithm>
#include <limits>

// A drawing of many short curves holds one of these per curve: a 64-byte heap chunk.
static_assert(sizeof(CCurve) <= 56);

CRect CCurve::GetBounds() const {
    // The start values are lopsided (seven, eight, nine and eight nines) and are part of the
    // result for curves whose points all lie beyond them.
    CRect r(9999999, 99999999, -999999999, -99999999);
    for (const CPoint& pt : m_points) {
        if (pt.x < r.left)
            r.left = pt.x;
        if (pt.x > r.right)
            r.right = pt.x;
        if (pt.y < r.top)
            r.top = pt.y;
        if (pt.y > r.bottom)
            r.bottom = pt.y;
    }
    return r;
}

bool CCurve::PtInBounds(CPoint pt) const {
    const CRect r = GetBounds();
    return PtInRect(&r, pt);
}

void CCurve::Offset(std::int32_t dx, std::int32_t dy) {
    const CPoint delta(dx, dy);
    for (CPoint& pt : m_points)
        pt = pt + delta;
}

void CCurve::MovePoint(std::int32_t index, std::int32_t dx, std::int32_t dy) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_points.size())
        return;
    const auto at = static_cast<std::size_t>(index);
    const bool kept = IsExtentKept();
    m_points[at] = m_points[at] + CPoint(dx, dy);
    if (!kept)
        return;
    // Only the segments around the point changed, and the rest still lies within the kept
    // extent: a drag step costs the same on a curve of any length. The extent may stay larger
    // than the curve until the curve is next changed otherwise; that costs nothing but a
    // repaint a little larger.
    m_extent = UnionSpan(m_extent, SpanAround(at));
    m_points.Settle();
}

CRect CCurve::RectOf(const Span& span) {
    if (span.IsEmpty())
        return CRect();
    // The column and row at the very end of the range are left out: no window reaches them.
    const auto past = [](std::int32_t v) {
        return v == std::numeric_limits<std::int32_t>::max() ? v : v + 1;
    };
    return CRect(span.left, span.top, past(span.right), past(span.bottom));
}

const CCurve::Span& CCurve::KeptSpan(const std::vector<CPoint>* converted) const {
    if (IsExtentKept())
        return m_extent;
    if (converted != nullptr) {
        m_extent = SpanOfConverted(*converted, m_bClosed);
    } else {
        thread_local std::vector<CPoint> points;
        ToBezier(points);
        m_extent = SpanOfConverted(points, m_bClosed);
        if (points.capacity() > 64 * 1024)
            std::vector<CPoint>().swap(points);
    }
    m_points.Settle();
    return m_extent;
}

CRect CCurve::GetExtent() const {
    return RectOf(KeptSpan());
}

CRect CCurve::GetExtentAround(std::size_t index) const {
    return RectOf(SpanAround(index));
}

void CCurve::Normalize() {
    if (m_points.empty())
        return;
    const CRect r = GetBounds();
    Offset(WrapSub(0, r.left), WrapSub(0, r.top));
}
