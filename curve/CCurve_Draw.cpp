#include "curve/CCurve.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

namespace {

// Fewer than four points come back from ToBezier as the control points themselves and are
// joined by lines, closing back on the first point if the curve is closed; four or more are
// Bezier points whose closing segment is already among them.
void DrawPoints(CDC* pDC, const std::vector<CPoint>& points, bool closed, CPoint offset) {
    if (points.empty())
        return;
    if (points.size() < 4) {
        pDC->MoveTo(points[0] + offset);
        for (std::size_t i = 1; i < points.size(); ++i)
            pDC->LineTo(points[i] + offset);
        if (closed)
            pDC->LineTo(points[0] + offset);
        return;
    }
    if (offset == CPoint()) {
        pDC->PolyBezier(points.data(), int(points.size()));
        return;
    }
    std::vector<CPoint> shifted(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        shifted[i] = points[i] + offset;
    pDC->PolyBezier(shifted.data(), int(shifted.size()));
}

} // namespace

void CCurve::Draw(CDC* pDC) const {
    if (pDC == nullptr)
        return;
    // A repaint of a small part meets few of a drawing's curves: the others cost one test of
    // their kept extent, and their points are not even converted.
    CRect clip;
    pDC->GetClipBox(&clip);
    const auto meets = [&clip](const Span& span) {
        return span.left < clip.right && span.right >= clip.left && span.top < clip.bottom &&
               span.bottom >= clip.top;
    };
    if (IsExtentKept() && !meets(m_extent))
        return;
    // A repaint draws every curve in turn; one list per thread saves an allocation each. The
    // list of an exceptionally long curve is not kept, so that its memory goes back.
    constexpr std::size_t kKeptPoints = 64 * 1024;
    thread_local std::vector<CPoint> points;
    ToBezier(points);
    if (meets(KeptSpan(&points)))
        DrawPoints(pDC, points, m_bClosed, CPoint());
    if (points.capacity() > kKeptPoints)
        std::vector<CPoint>().swap(points);
}

void CCurve::DrawTracker(CDC* pDC, std::int32_t dx, std::int32_t dy) const {
    if (pDC == nullptr)
        return;
    const std::vector<CPoint> points = ToBezier();
    const int oldRop = pDC->SetROP2(R2_NOT);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CPen pen(PS_DOT, 1, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);

    DrawPoints(pDC, points, m_bClosed, CPoint(dx, dy));

    pDC->SetROP2(oldRop);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    // The pen goes when this scope ends, after the surface has let go of it.
}
