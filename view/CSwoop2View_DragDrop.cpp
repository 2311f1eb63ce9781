#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "platform/framework/CClientDC.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/OleConstants.h"

#include <algorithm>
#include <new>

namespace {

// Where the outline stands before it is first drawn: off every surface, so that the first
// erase changes nothing visible.
constexpr CPoint kFeedbackNotDrawn(-32000, -32000);

// Sets a flag for the life of a scope and clears it on every way out.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;
    ~ScopedFlag() { m_flag = false; }

private:
    bool& m_flag;
};

// The edits of one drag, the drop into this same view and the removal of the dragged curve, are
// one step of the history; the group closes on every way out.
class HistoryGroup {
public:
    explicit HistoryGroup(CUndoStack& history) : m_history(history) { m_history.BeginGroup(); }
    HistoryGroup(const HistoryGroup&) = delete;
    HistoryGroup& operator=(const HistoryGroup&) = delete;
    ~HistoryGroup() { m_history.EndGroup(); }

private:
    CUndoStack& m_history;
};

DROPEFFECT EffectForKeys(DWORD dwKeyState) {
    return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

} // namespace

void CSwoop2View::DragSelectedCurve() {
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || doc->m_pSelected == nullptr || m_bDragging)
        return;
    // The record carries the curve where it lies in the window, so that a drop elsewhere knows
    // where the mouse holds it.
    const std::vector<CCurve*> dragged = doc->Selection();
    const std::uint64_t deletedBefore = doc->DeletedCurveCount();
    COleDataSource source;
    if (dragged.size() == 1) {
        if (HGLOBAL block = doc->CurveToGlobal(dragged.front()))
            source.CacheGlobalData(doc->m_cfCurve, block);
    } else if (HGLOBAL block = doc->CurvesToGlobal(dragged)) {
        source.CacheGlobalData(doc->m_cfCurves, block);
    }
    const HistoryGroup oneStep(doc->GetHistory());
    DROPEFFECT effect = DROPEFFECT_NONE;
    {
        // Draw stays disabled exactly while the drag runs, however the drag ends.
        const ScopedFlag dragging(m_bDragging);
        // A drop into this same view runs inside this call and may add and select a new curve.
        effect = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }
    if (effect != DROPEFFECT_MOVE)
        return;
    // Once any curve has been deleted the dragged one may be gone, and its address may even
    // belong to a new curve: keeping a copy too many is better than removing the wrong curve.
    if (doc->DeletedCurveCount() != deletedBefore)
        return;
    // The selection lets go of them before the views repaint; the history keeps them, so that
    // Undo brings them back even after a move into another program. From the top, so that
    // each step's index is where Undo puts its curve back.
    for (auto it = dragged.rbegin(); it != dragged.rend(); ++it)
        doc->RemoveCurve(*it);
}

bool CSwoop2View::OffersCurves(COleDataObject* pDataObject) const {
    const CSwoop2Doc* doc = GetDocument();
    return doc != nullptr && pDataObject != nullptr &&
           (pDataObject->IsDataAvailable(doc->m_cfCurve) ||
            pDataObject->IsDataAvailable(doc->m_cfCurves));
}

std::vector<std::unique_ptr<CCurve>>
CSwoop2View::DecodeDraggedCurves(COleDataObject* pDataObject) const {
    std::vector<std::unique_ptr<CCurve>> curves;
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || pDataObject == nullptr)
        return curves;
    const bool one = pDataObject->IsDataAvailable(doc->m_cfCurve);
    HGLOBAL block = pDataObject->GetGlobalData(one ? doc->m_cfCurve : doc->m_cfCurves);
    if (block == nullptr)
        return curves;
    // The block is ours to free, whether or not it held a curve, and should decoding fail.
    const std::unique_ptr<GlobalBlock, HGLOBAL (*)(HGLOBAL)> owned(block, GlobalFree);
    if (!one)
        return doc->CurvesFromGlobal(block);
    if (std::unique_ptr<CCurve> curve = doc->CurveFromGlobal(block))
        curves.push_back(std::move(curve));
    return curves;
}

void CSwoop2View::DrawFeedbackOn(CDC* pDC, CPoint offset) const {
    if (m_pFeedback == nullptr)
        return;
    m_pFeedback->DrawTracker(pDC, offset.x, offset.y);
    for (const auto& curve : m_feedbackMore)
        curve->DrawTracker(pDC, offset.x, offset.y);
}

void CSwoop2View::DrawFeedback(CPoint offset) {
    if (m_pFeedback == nullptr)
        return;
    try {
        CClientDC dc(this);
        OnPrepareDC(&dc, nullptr);
        DrawFeedbackOn(&dc, offset);
    } catch (const std::bad_alloc&) {
        // An outline drawn in part, or one that could not be erased, must not stay: the window
        // is repainted from the drawing instead, which shows no outline at all.
        m_ptFeedback = kFeedbackNotDrawn;
        InvalidateRect(nullptr, true);
    }
}

DROPEFFECT CSwoop2View::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView::OnDragEnter(pDataObject, dwKeyState, point);
    if (!OffersCurves(pDataObject))
        return DROPEFFECT_NONE;
    // Data that holds no curve leaves no feedback: nothing to outline, nothing to drop.
    std::vector<std::unique_ptr<CCurve>> curves = DecodeDraggedCurves(pDataObject);
    m_feedbackMore.clear();
    m_pFeedback.reset();
    if (curves.empty())
        return DROPEFFECT_NONE;
    // Several curves are held by the bounds of them all, as one curve by its own.
    CRect bounds = curves.front()->GetBounds();
    for (std::size_t i = 1; i < curves.size(); ++i) {
        const CRect more = curves[i]->GetBounds();
        bounds = CRect(std::min(bounds.left, more.left), std::min(bounds.top, more.top),
                       std::max(bounds.right, more.right), std::max(bounds.bottom, more.bottom));
    }
    m_pFeedback = std::move(curves.front());
    for (std::size_t i = 1; i < curves.size(); ++i)
        m_feedbackMore.push_back(std::move(curves[i]));

    m_ptFeedback = kFeedbackNotDrawn;
    m_ptDragLast = point;
    // The record carries the units of the window the drag began in. The entry point tells where
    // the mouse holds the curve only in this same view, or in a view that shows its units one
    // to a screen unit from the origin, as every window did before zoom and scrolling; in a
    // window at another zoom or place the two have nothing in common.
    const bool sameUnits =
        m_bDragging || (GetZoomStep() == 0 && GetScrollX() == 0 && GetScrollY() == 0);
    if (sameUnits && PtInRect(&bounds, point)) {
        // The outline keeps the mouse where it holds the curve.
        m_ptGrab = point - bounds.TopLeft();
    } else {
        // Held from outside, the outline is centred on the mouse. Half of any 32-bit span
        // fits 32 bits.
        m_ptGrab = CPoint(static_cast<std::int32_t>(bounds.Width() / 2),
                          static_cast<std::int32_t>(bounds.Height() / 2));
    }
    if (m_feedbackMore.empty()) {
        m_pFeedback->Normalize();
    } else {
        const CPoint toOrigin = CPoint() - bounds.TopLeft();
        m_pFeedback->Offset(toOrigin.x, toOrigin.y);
        for (auto& curve : m_feedbackMore)
            curve->Offset(toOrigin.x, toOrigin.y);
    }
    return EffectForKeys(dwKeyState);
}

DROPEFFECT CSwoop2View::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView::OnDragOver(pDataObject, dwKeyState, point);
    if (!OffersCurves(pDataObject) || m_pFeedback == nullptr)
        return DROPEFFECT_NONE;
    // The outline moves only with the mouse; erasing it is drawing it again where it is, so
    // the window is never repainted while the drag goes on.
    if (point != m_ptDragLast) {
        const CPoint placed = point - m_ptGrab;
        DrawFeedback(m_ptFeedback);
        m_ptFeedback = placed;
        DrawFeedback(placed);
        m_ptDragLast = point;
    }
    return EffectForKeys(dwKeyState);
}

void CSwoop2View::OnDragScroll(CPoint step, CPoint client) {
    if (m_pFeedback == nullptr) {
        CView::OnDragScroll(step, client);
        return;
    }
    // The outline is erased before the image moves: part of it would move with the image and
    // part be painted over from the drawing, leaving pieces that no erase removes. The parts
    // that came into view are painted before it is placed again, as a repaint draws the
    // outline where it stands.
    DrawFeedback(m_ptFeedback);
    m_ptFeedback = kFeedbackNotDrawn;
    CView::OnDragScroll(step, client);
    UpdateBackingImage();
    const CPoint point = ClientToUnits(client);
    m_ptFeedback = point - m_ptGrab;
    DrawFeedback(m_ptFeedback);
    m_ptDragLast = point;
}

void CSwoop2View::OnDragLeave() {
    CView::OnDragLeave();
    if (m_pFeedback == nullptr)
        return;
    DrawFeedback(m_ptFeedback);
    m_pFeedback.reset();
    m_feedbackMore.clear();
    InvalidateRect(nullptr, true);
}

bool CSwoop2View::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    CView::OnDrop(pDataObject, dropEffect, point);
    if (m_pFeedback != nullptr) {
        DrawFeedback(m_ptFeedback);
        m_pFeedback.reset();
        m_feedbackMore.clear();
    }
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || pDataObject == nullptr)
        return false;
    HGLOBAL block = pDataObject->GetGlobalData(doc->m_cfCurve);
    if (block == nullptr)
        return DropCurves(pDataObject, point);
    // Copy and move land alike; the source decides from the answer whether to remove its own.
    // The curve's top-left corner lands where the outline was last drawn. The block is ours
    // to free, whatever becomes of its curve.
    const std::unique_ptr<GlobalBlock, HGLOBAL (*)(HGLOBAL)> owned(block, GlobalFree);
    // The grab is a distance into the curve's bounds, which may span more than half the range.
    const CSwoop2Doc::Landing landing{
        std::int64_t(point.x) - std::int64_t(static_cast<std::uint32_t>(m_ptGrab.x)),
        std::int64_t(point.y) - std::int64_t(static_cast<std::uint32_t>(m_ptGrab.y))};
    if (doc->TakeRecord(block, &landing) == nullptr)
        return false;
    m_nTool = kToolSelect;
    AfterDrop();
    return true;
}

bool CSwoop2View::DropCurves(COleDataObject* pDataObject, CPoint point) {
    CSwoop2Doc* doc = GetDocument();
    HGLOBAL block = pDataObject->GetGlobalData(doc->m_cfCurves);
    if (block == nullptr)
        return false;
    const std::unique_ptr<GlobalBlock, HGLOBAL (*)(HGLOBAL)> owned(block, GlobalFree);
    const CSwoop2Doc::Landing landing{
        std::int64_t(point.x) - std::int64_t(static_cast<std::uint32_t>(m_ptGrab.x)),
        std::int64_t(point.y) - std::int64_t(static_cast<std::uint32_t>(m_ptGrab.y))};
    if (doc->TakeCurves(doc->CurvesFromGlobal(block), &landing) == 0)
        return false;
    m_nTool = kToolSelect;
    AfterDrop();
    return true;
}

void CSwoop2View::AfterDrop() {
    // The dropped curves are the selection now: a curve being drawn is left open.
    if (m_pDrawn != nullptr)
        m_pEnded = m_pDrawn;
    m_pDrawn = nullptr;
    SyncDrawingFlag();
}
