#include "curve/CCurve.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

namespace {

// Draws a list from ToBezier on a surface, shifted by an offset.
class SurfacePen {
public:
    SurfacePen(CDC* pDC, CPoint offset) : m_pDC(pDC), m_offset(offset) {}

    void MoveTo(CPoint pt) { m_pDC->MoveTo(pt + m_offset); }
    void LineTo(CPoint pt) { m_pDC->LineTo(pt + m_offset); }
    void CloseFigure(CPoint first, bool bAtFirst) {
        if (!bAtFirst)
            m_pDC->LineTo(first + m_offset);
    }
    void PolyBezier(const std::vector<CPoint>& points) {
        if (m_offset == CPoint()) {
            m_pDC->PolyBezier(points.data(), int(points.size()));
            return;
        }
        std::vector<CPoint> shifted(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            shifted[i] = points[i] + m_offset;
        m_pDC->PolyBezier(shifted.data(), int(shifted.size()));
    }

private:
    CDC* m_pDC;
    CPoint m_offset;
};

void DrawPoints(CDC* pDC, const std::vector<CPoint>& points, bool closed, CPoint offset) {
    SurfacePen pen(pDC, offset);
    CCurve::TracePoints(points, closed, pen);
}

} // namespace

void CCurve::Draw(CDC* pDC) const {
    if (pDC == nullptr)
        return;
    // A repaint of a small part meets few of a drawing's curves: the others cost one test of
    // their kept extent, and their points are not even converted.
    CRect clip;
    pDC->GetClipBox(&clip);
    if (!MayMeet(clip))
        return;
    // A repaint draws every curve in turn; one list per thread saves an allocation each. The
    // list of an exceptionally long curve is not kept, so that its memory goes back.
    constexpr std::size_t kKeptPoints = 64 * 1024;
    thread_local std::vector<CPoint> points;
    ToBezier(points);
    // Drawing only reads, so that several threads may draw one drawing at once: the extent of
    // a curve just changed is taken from its points here, not kept.
    const Span span = IsExtentKept() ? m_extent : SpanOfConverted(points, m_bClosed);
    if (Meets(span, clip))
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
