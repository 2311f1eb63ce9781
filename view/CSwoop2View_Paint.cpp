#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"

void CSwoop2View::OnDraw(CDC* pDC) {
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || pDC == nullptr)
        return;
    const std::size_t count = doc->m_curves.size();
    for (std::size_t i = 0; i < count; ++i)
        doc->m_curves[i]->Draw(pDC);
    // The handles are opaque black on black-on-white curves, so painting them once above the
    // last curve gives the same picture as painting them after every curve, at a cost that
    // does not grow with curves times points. An empty drawing shows no handles at all.
    if (count == 0 || m_bDrawing || doc->m_pSelected == nullptr)
        return;
    PaintHandles(pDC, *doc->m_pSelected);
}

void CSwoop2View::PaintHandles(CDC* pDC, const CCurve& curve) const {
    CBrush black(RGB(0, 0, 0));
    for (const CPoint& pt : curve.m_points) {
        CRect handle(pt.x, pt.y, pt.x, pt.y);
        InflateRect(&handle, 3, 3);
        pDC->FillRect(&handle, &black);
    }
    // The centre marks the curve only; presses are never tested against it. The sums are
    // halved toward zero, and taken in 64 bits so that far-apart extremes cannot overflow.
    const CRect bounds = curve.GetBounds();
    const auto cx = static_cast<std::int32_t>((std::int64_t(bounds.left) + bounds.right) / 2);
    const auto cy = static_cast<std::int32_t>((std::int64_t(bounds.top) + bounds.bottom) / 2);
    CRect centre(cx, cy, cx, cy);
    InflateRect(&centre, 4, 4);
    pDC->FillRect(&centre, &black);
}

bool CSwoop2View::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CSwoop2View::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CSwoop2View::OnEndPrinting(CDC*, CPrintInfo*) {}
