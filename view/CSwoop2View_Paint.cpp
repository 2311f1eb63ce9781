#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "document/ChangedPart.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"

#include <vector>

void CSwoop2View::OnDraw(CDC* pDC) {
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || pDC == nullptr)
        return;
    // A repaint of the window starts from the layer of settled curves and draws only the
    // selection over it: a part's cost does not grow with the drawing, and a repaint of
    // everything leaves a layer behind for the parts, the scrolls and the edits that follow.
    bool fromLayer = false;
    if (IsRepaintingWindow(pDC)) {
        if (!IsSettled())
            SettleAll();
        fromLayer = IsSettled() && ShowLayer(pDC);
    }
    if (!fromLayer) {
        DrawCurves(pDC, nullptr);
    } else if (doc->m_pSelected != nullptr) {
        // The layer leaves out every selected curve.
        ForEachSelected([pDC](const CCurve& curve) { curve.Draw(pDC); });
    }
    // The handles are opaque black on black-on-white curves, so painting them once above the
    // last curve gives the same picture as painting them after every curve, at a cost that
    // does not grow with curves times points. An empty drawing shows no handles at all. The
    // edits that change the handles ask the same question to repaint them.
    if (HandlesShown())
        PaintHandles(pDC);
    // The drop outline is drawn on the window outside painting, and erased by drawing it once
    // more: a repaint of the window while it shows draws it again, so that erasing it still
    // leaves the window as the drawing alone would.
    if (m_pFeedback != nullptr && IsWindowSurface(pDC))
        DrawFeedbackOn(pDC, m_ptFeedback);
    // The rubber band likewise.
    if (m_bBanding && IsWindowSurface(pDC))
        DrawBandOn(pDC);
}

void CSwoop2View::ForEachSelected(const std::function<void(const CCurve&)>& visit) const {
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || doc->m_pSelected == nullptr)
        return;
    const auto& others = doc->OtherSelected();
    // A selection of much of the drawing is visited in stacking order, the order in which its
    // curves were mostly made and lie in memory: in the set's order every curve is a cache miss.
    constexpr std::size_t kManySelected = 1024;
    if (others.size() < kManySelected) {
        visit(*doc->m_pSelected);
        for (const CCurve* other : others)
            visit(*other);
        return;
    }
    // With every curve selected, none needs looking up.
    const bool all = doc->SelectedCount() == doc->m_curves.size();
    for (const auto& curve : doc->m_curves) {
        if (all || curve.get() == doc->m_pSelected || others.count(curve.get()) != 0)
            visit(*curve);
    }
}

bool CSwoop2View::DrawCurves(CDC* pDC, const CCurve* pLeftOut) const {
    // A repaint of a part meets only the curves that the document finds there.
    CRect clip;
    pDC->GetClipBox(&clip);
    const CSwoop2Doc* doc = GetDocument();
    // Leaving out the selection leaves out the other selected curves with it, and with every
    // curve selected there is nothing to draw.
    const bool others = pLeftOut != nullptr && !doc->OtherSelected().empty();
    if (others && doc->IsSelected(pLeftOut) && doc->SelectedCount() == doc->m_curves.size())
        return doc->Holds(pLeftOut);
    thread_local std::vector<const CCurve*> meeting;
    doc->CurvesMeeting(clip, meeting);
    for (const CCurve* curve : meeting) {
        if (curve == pLeftOut || (others && doc->OtherSelected().count(curve) != 0))
            continue;
        curve->Draw(pDC);
    }
    const bool found = pLeftOut != nullptr && doc->Holds(pLeftOut);
    // The list of a repaint of everything goes back once drawn.
    if (meeting.capacity() > 64 * 1024)
        std::vector<const CCurve*>().swap(meeting);
    return found;
}

void CSwoop2View::PaintHandles(CDC* pDC) const {
    // The squares keep their size on the screen at any zoom. They go to the surface in one list
    // for each size: a whole drawing selected has a square on every point, and the surface
    // fills a list of many far faster than as many squares one at a time.
    thread_local std::vector<CPoint> points;
    thread_local std::vector<CPoint> centres;
    points.clear();
    centres.clear();
    ForEachSelected([](const CCurve& curve) {
        points.insert(points.end(), curve.m_points.begin(), curve.m_points.end());
        // The centre marks the curve only; presses are never tested against it.
        centres.push_back(ChangedPart::Centre(curve));
    });
    CBrush black(RGB(0, 0, 0));
    pDC->FillSquares(points.data(), points.size(), ChangedPart::kPointHandleHalf, &black);
    pDC->FillSquares(centres.data(), centres.size(), ChangedPart::kCentreHandleHalf, &black);
    // The lists of a large selection go back once painted.
    constexpr std::size_t kKeptPoints = 64 * 1024;
    if (points.capacity() > kKeptPoints)
        std::vector<CPoint>().swap(points);
    if (centres.capacity() > kKeptPoints)
        std::vector<CPoint>().swap(centres);
}

CRect CSwoop2View::GetDrawingExtent() const {
    const CSwoop2Doc* doc = GetDocument();
    CRect extent;
    if (doc == nullptr)
        return extent;
    // What the curves draw, not the hulls that repaints use: the hull of a bend can reach well
    // past it, and a scroll bar would lead there to nothing.
    for (const auto& curve : doc->m_curves) {
        const CRect part = curve->GetDrawnExtent();
        UnionRect(&extent, &extent, &part);
    }
    return extent;
}

bool CSwoop2View::HandlesShown() const {
    const CSwoop2Doc* doc = GetDocument();
    return doc != nullptr && doc->m_pSelected != nullptr && !doc->m_curves.empty() && !m_bDrawing;
}

CRect CSwoop2View::ShownHandles() const {
    if (!HandlesShown())
        return CRect();
    const CSwoop2Doc* doc = GetDocument();
    CRect part = ChangedPart::Handles(*doc->m_pSelected);
    for (const CCurve* other : doc->OtherSelected()) {
        const CRect handles = ChangedPart::Handles(*other);
        UnionRect(&part, &part, &handles);
    }
    return part;
}

bool CSwoop2View::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CSwoop2View::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CSwoop2View::OnEndPrinting(CDC*, CPrintInfo*) {}
