#include "curve/CCurve.h"

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
    CPoint& pt = m_points[static_cast<std::size_t>(index)];
    pt = pt + CPoint(dx, dy);
}

void CCurve::Normalize() {
    if (m_points.empty())
        return;
    const CRect r = GetBounds();
    Offset(WrapSub(0, r.left), WrapSub(0, r.top));
}
