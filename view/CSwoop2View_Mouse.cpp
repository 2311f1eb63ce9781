#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "document/ChangedPart.h"
#include "platform/framework/CCmdUI.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/OleConstants.h"

#include <algorithm>
#include <cmath>

void CSwoop2View::OnLButtonDown(UINT nFlags, CPoint point) {
    CSwoop2Doc* doc = GetDocument();
    if (doc != nullptr && m_nTool == kToolDraw) {
        // An open selection is extended whatever its history; only a closed one, or none,
        // starts a new curve.
        CCurve* curve = doc->m_pSelected;
        CRect part;
        if (curve == nullptr || curve->m_bClosed || curve == m_pEnded) {
            // The handles leave the previous selection: nothing shows them while drawing.
            part = ShownHandles();
            curve = doc->NewCurve();
            doc->m_pSelected = curve;
            m_bDrawing = true;
            m_pDrawn = curve;
            m_pEnded = nullptr;
        }
        // Only the last segments and the handles that move with the new point change.
        const std::size_t last = curve->m_points.size();
        const bool handles = HandlesShown();
        if (last > 0) {
            const CRect before = ChangedPart::AroundPoint(*curve, last - 1, handles);
            UnionRect(&part, &part, &before);
        }
        doc->AppendPoint(curve, point);
        const CRect after = ChangedPart::AroundPoint(*curve, last, handles);
        UnionRect(&part, &part, &after);
        doc->UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
    } else if (doc != nullptr && m_nTool == kToolSelect) {
        // The curve under the press is found before the press changes anything.
        CCurve* hit = doc->HitTestCurve(point);
        m_pEnded = nullptr;
        if (doc->m_pSelected != nullptr && doc->HitTestPoint(doc->m_pSelected, point, HitHalf())) {
            // Each press begins a drag of its own, which is one step however far it goes.
            doc->EndPointDrag();
            m_ptLast = point;
            m_bMovingPoint = true;
            // A handle on the right or bottom edge lies outside the bounds that pick curves;
            // pressed where no other curve is, it still belongs to the selection.
            if (hit == nullptr)
                hit = doc->m_pSelected;
        }
        if (hit != doc->m_pSelected) {
            CRect part = ShownHandles();
            doc->m_pSelected = hit;
            const CRect shown = ShownHandles();
            UnionRect(&part, &part, &shown);
            doc->UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
        }
        if (doc->m_pSelected != nullptr && doc->m_pSelected->PtInBounds(point)) {
            m_ptLast = point;
            m_bDragPending = true;
        }
    }
    CView::OnLButtonDown(nFlags, point);
}

bool CSwoop2View::WantsAutoScroll() const {
    return m_bMovingPoint;
}

std::int32_t CSwoop2View::HitHalf() const {
    if (GetZoomStep() == 0)
        return CSwoop2Doc::kHitHalf;
    return std::max<std::int32_t>(1, std::int32_t(std::ceil(CSwoop2Doc::kHitHalf / GetZoom())));
}

void CSwoop2View::OnRButtonDown(UINT nFlags, CPoint point) {
    CSwoop2Doc* doc = GetDocument();
    if (m_bDrawing && doc != nullptr && doc->m_pSelected != nullptr) {
        CCurve* curve = doc->m_pSelected;
        doc->CloseCurve(curve);
        // The curve is finished: one Undo now takes all of it back.
        doc->FinishCurve(curve);
        // The closed curve reaches wherever the open one did, and its handles now show.
        CRect part = ChangedPart::OfCurve(*curve, true);
        m_bDrawing = false;
        doc->UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
    }
    m_bDrawing = false;
    m_pDrawn = nullptr;
    CView::OnRButtonDown(nFlags, point);
}

void CSwoop2View::OnLButtonUp(UINT nFlags, CPoint point) {
    // The window keeps the mouse while the button is down, so this release arrives wherever
    // the pointer is.
    m_bMovingPoint = false;
    m_bDragPending = false;
    if (CSwoop2Doc* doc = GetDocument())
        doc->EndPointDrag();
    CView::OnLButtonUp(nFlags, point);
}

void CSwoop2View::OnMouseMove(UINT nFlags, CPoint point) {
    // A gesture whose release went elsewhere (another window took the mouse) ends at the
    // first move without the button: nothing follows a pointer whose button is up.
    if ((m_bMovingPoint || m_bDragPending) && (nFlags & MK_LBUTTON) == 0) {
        m_bMovingPoint = false;
        m_bDragPending = false;
    }
    CSwoop2Doc* doc = GetDocument();
    if (m_bMovingPoint) {
        // Each step measures from the last one, so the point stays under the mouse.
        const CPoint delta = point - m_ptLast;
        // The document's update repaints, in every view, the part that the step changed.
        if (doc != nullptr)
            doc->MoveSelectedPoint(delta.x, delta.y);
        m_ptLast = point;
    } else if (m_bDragPending) {
        m_bDragPending = false;
        DragSelectedCurve();
    }
    CView::OnMouseMove(nFlags, point);
}

void CSwoop2View::OnCurvesSelect() {
    // The curve being drawn is left open as it is; its handles show again.
    if (m_nTool != kToolSelect)
        EndCurve();
    m_nTool = kToolSelect;
}

void CSwoop2View::EndCurve() {
    CSwoop2Doc* doc = GetDocument();
    if (!m_bDrawing || doc == nullptr)
        return;
    if (doc->m_pSelected != nullptr)
        doc->FinishCurve(doc->m_pSelected);
    m_pEnded = doc->m_pSelected;
    m_pDrawn = nullptr;
    m_bDrawing = false;
    const CRect shown = ShownHandles();
    InvalidateRect(&shown, true);
}

void CSwoop2View::OnUpdateCurvesSelect(CCmdUI* pCmdUI) {
    pCmdUI->Enable(true);
    pCmdUI->SetRadio(m_nTool == kToolSelect);
}

void CSwoop2View::OnCurvesDraw() {
    if (m_nTool != kToolDraw)
        EndCurve();
    m_nTool = kToolDraw;
}

void CSwoop2View::OnUpdateCurvesDraw(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_bMovingPoint && !m_bDragging);
    pCmdUI->SetRadio(m_nTool == kToolDraw);
}

void CSwoop2View::OnUpdateEditCopy(CCmdUI* pCmdUI) {
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(!m_bDrawing && doc != nullptr && doc->m_pSelected != nullptr);
}

void CSwoop2View::OnUpdateEditClear(CCmdUI* pCmdUI) {
    // Deleting the curve whose point is held would leave the drag nothing to move.
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(!m_bDrawing && !m_bMovingPoint && doc != nullptr && doc->m_pSelected != nullptr);
}

void CSwoop2View::OnEditUndo() {
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || !doc->Undo())
        return;
    AfterHistoryMove();
}

void CSwoop2View::OnEditRedo() {
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || !doc->Redo())
        return;
    AfterHistoryMove();
}

void CSwoop2View::AfterHistoryMove() {
    // A drag armed on the curve selected before would move another one, or none.
    m_bDragPending = false;
    SyncDrawingFlag();
}

void CSwoop2View::SyncDrawingFlag() {
    // A curve is being drawn exactly while the selection is the open curve this view started:
    // once it is taken back, the handles, Cut, Copy and Paste come back, and once it is done
    // again a right press closes it.
    const CSwoop2Doc* doc = GetDocument();
    const bool drawing = doc != nullptr && m_pDrawn != nullptr && doc->m_pSelected == m_pDrawn &&
                         !m_pDrawn->m_bClosed;
    if (drawing == m_bDrawing)
        return;
    CRect shown = ShownHandles();
    m_bDrawing = drawing;
    const CRect after = ShownHandles();
    UnionRect(&shown, &shown, &after);
    InvalidateRect(&shown, true);
}

void CSwoop2View::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    // A point drag or a drag and drop under way is not a step yet.
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(doc != nullptr && doc->GetHistory().CanUndo() && !m_bMovingPoint &&
                   !m_bDragging);
}

void CSwoop2View::OnUpdateEditRedo(CCmdUI* pCmdUI) {
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(doc != nullptr && doc->GetHistory().CanRedo() && !m_bMovingPoint &&
                   !m_bDragging);
}

void CSwoop2View::OnUpdateEditPaste(CCmdUI* pCmdUI) {
    const CSwoop2Doc* doc = GetDocument();
    // A curve pasted while a point is held would take the held point's index.
    if (m_bDrawing || m_bMovingPoint || doc == nullptr) {
        pCmdUI->Enable(false);
        return;
    }
    // Answered from the platform's list of the clipboard's formats: never waits on the
    // program that owns the clipboard.
    COleDataObject data;
    const bool available = data.AttachClipboard() && data.IsDataAvailable(doc->m_cfCurve);
    data.Release();
    pCmdUI->Enable(available);
}
