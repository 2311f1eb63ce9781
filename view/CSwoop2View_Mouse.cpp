#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "document/ChangedPart.h"
#include "platform/framework/CCmdUI.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/OleConstants.h"

#include "platform/framework/CClientDC.h"
#include "platform/gdi/CPen.h"
#include "view/CommandIds.h"

#include <algorithm>
#include <cmath>
#include <new>

void CSwoop2View::OnLButtonDown(UINT nFlags, CPoint point) {
    CSwoop2Doc* doc = GetDocument();
    if (doc != nullptr && m_nTool == kToolDraw) {
        // An open selection is extended whatever its history; only a closed one, or none,
        // starts a new curve.
        // Drawing works on one curve: the others selected beside it let go.
        if (!doc->OtherSelected().empty())
            doc->SelectAlone(doc->m_pSelected);
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
        SelectPress(*doc, nFlags, point);
    }
    CView::OnLButtonDown(nFlags, point);
}

void CSwoop2View::SelectPress(CSwoop2Doc& doc, UINT nFlags, CPoint point) {
    // The curve under the press is found before the press changes anything.
    CCurve* hit = doc.HitTestCurve(point);
    m_pEnded = nullptr;
    m_pPressed = nullptr;
    if ((nFlags & MK_SHIFT) != 0) {
        // Shift adds a curve or takes it out; on empty space it starts a band that adds.
        if (hit != nullptr) {
            doc.ToggleSelected(hit);
        } else {
            m_bBandPending = true;
            m_bBandAdds = true;
            m_ptBandStart = point;
        }
        return;
    }
    // A handle of the current curve first, as ever, then those of the other selected curves.
    CCurve* held = nullptr;
    if (doc.m_pSelected != nullptr && doc.HitTestPoint(doc.m_pSelected, point, HitHalf())) {
        held = doc.m_pSelected;
    } else if (doc.SelectedCount() > 1) {
        for (CCurve* curve : doc.Selection()) {
            if (doc.HitTestPoint(curve, point, HitHalf())) {
                held = curve;
                break;
            }
        }
        if (held != nullptr)
            doc.MakeCurrent(held);
        else
            doc.HitTestPoint(doc.m_pSelected, point, HitHalf());
    }
    if (held != nullptr) {
        // Each press begins a drag of its own, which is one step however far it goes.
        doc.EndPointDrag();
        m_ptLast = point;
        m_bMovingPoint = true;
        // A handle on the right or bottom edge lies outside the bounds that pick curves;
        // pressed where no other curve is, it still belongs to the selection.
        if (hit == nullptr || (doc.SelectedCount() > 1 && doc.IsSelected(hit)))
            hit = doc.m_pSelected;
    }
    if (hit != nullptr && doc.SelectedCount() > 1 && doc.IsSelected(hit)) {
        // The whole selection stays until the pointer moves (and drags it) or is let go (and
        // leaves this curve alone selected).
        if (!m_bMovingPoint)
            m_pPressed = hit;
    } else if (hit != doc.m_pSelected || doc.SelectedCount() > 1) {
        doc.SelectAlone(hit);
    }
    if (hit == nullptr && !m_bMovingPoint) {
        m_bBandPending = true;
        m_bBandAdds = false;
        m_ptBandStart = point;
    }
    if (doc.m_pSelected != nullptr &&
        (doc.m_pSelected->PtInBounds(point) || m_pPressed != nullptr)) {
        m_ptLast = point;
        m_bDragPending = true;
    }
}

bool CSwoop2View::WantsAutoScroll() const {
    return m_bMovingPoint;
}

std::int32_t CSwoop2View::HitHalf() const {
    if (GetZoomStep() == 0)
        return CSwoop2Doc::kHitHalf;
    // A press maps to the unit nearest the pointer, which may lie half a unit beside the unit
    // the pointer's pixels show: half a unit more keeps every pixel of a handle on it.
    return std::max<std::int32_t>(1,
                                  std::int32_t(std::ceil(CSwoop2Doc::kHitHalf / GetZoom() + 0.5)));
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
    CSwoop2Doc* doc = GetDocument();
    if (m_bBanding) {
        DrawBand();
        m_bBanding = false;
        // Every curve whose bounds lie wholly inside the band.
        if (doc != nullptr)
            doc->SelectCurves(doc->CurvesInside(BandRect()), m_bBandAdds);
    }
    m_bBandPending = false;
    // Let go without a move inside one of several selected curves: that curve alone.
    if (m_bDragPending && m_pPressed != nullptr && doc != nullptr && doc->IsSelected(m_pPressed))
        doc->SelectAlone(const_cast<CCurve*>(m_pPressed));
    m_pPressed = nullptr;
    m_bMovingPoint = false;
    m_bDragPending = false;
    if (doc != nullptr)
        doc->EndPointDrag();
    CView::OnLButtonUp(nFlags, point);
}

void CSwoop2View::OnMouseMove(UINT nFlags, CPoint point) {
    // A gesture whose release went elsewhere (another window took the mouse) ends at the
    // first move without the button: nothing follows a pointer whose button is up.
    if ((m_bMovingPoint || m_bDragPending || m_bBandPending || m_bBanding) &&
        (nFlags & MK_LBUTTON) == 0) {
        m_bMovingPoint = false;
        m_bDragPending = false;
        m_pPressed = nullptr;
        m_bBandPending = false;
        if (m_bBanding)
            DrawBand();
        m_bBanding = false;
    }
    CSwoop2Doc* doc = GetDocument();
    if (m_bMovingPoint) {
        // Each step measures from the last one, so the point stays under the mouse.
        const CPoint delta = point - m_ptLast;
        // The document's update repaints, in every view, the part that the step changed.
        if (doc != nullptr)
            doc->MoveSelectedPoint(delta.x, delta.y);
        m_ptLast = point;
    } else if (m_bBandPending || m_bBanding) {
        // The band follows the pointer; erasing it is drawing it again where it is.
        if (m_bBanding && point != m_ptBandEnd)
            DrawBand();
        if (!m_bBanding || point != m_ptBandEnd) {
            m_bBanding = true;
            m_ptBandEnd = point;
            DrawBand();
        }
    } else if (m_bDragPending) {
        m_bDragPending = false;
        m_pPressed = nullptr;
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
    m_pPressed = nullptr;
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
    const bool available = data.AttachClipboard() && (data.IsDataAvailable(doc->m_cfCurve) ||
                                                      data.IsDataAvailable(doc->m_cfCurves));
    data.Release();
    pCmdUI->Enable(available);
}

void CSwoop2View::OnLButtonDblClk(UINT, CPoint) {
    // The second press of a double click adds no point and selects nothing; it ends the curve
    // being drawn.
    EndCurve();
}

void CSwoop2View::OnCurvesEnd() {
    EndCurve();
}

void CSwoop2View::OnViewCancel() {
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr)
        return;
    if (m_bMovingPoint) {
        m_bMovingPoint = false;
        m_bDragPending = false;
        doc->CancelPointDrag();
        AfterHistoryMove();
        return;
    }
    if (m_bBanding || m_bBandPending) {
        if (m_bBanding)
            DrawBand();
        m_bBanding = false;
        m_bBandPending = false;
        return;
    }
    if (m_bDragPending) {
        m_bDragPending = false;
        m_pPressed = nullptr;
        return;
    }
    if (m_bDrawing) {
        EndCurve();
        return;
    }
    doc->SelectAlone(nullptr);
}

void CSwoop2View::OnNudge(UINT nID) {
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || m_bDrawing || m_bMovingPoint || m_bDragging || m_bBanding)
        return;
    // One pixel of the screen at the zoom, and never less than one unit.
    const std::int64_t pixel = std::max<std::int64_t>(1, std::llround(1.0 / GetZoom()));
    const std::int64_t step = nID >= ID_NUDGE_FAR_LEFT ? 10 * pixel : pixel;
    static constexpr CPoint kDirections[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    const CPoint direction = kDirections[(nID - ID_NUDGE_FIRST) % 4];
    doc->NudgeSelection(direction.x * step, direction.y * step);
}

void CSwoop2View::OnUpdateNudge(CCmdUI* pCmdUI) {
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(doc != nullptr && doc->m_pSelected != nullptr && !m_bDrawing &&
                   !m_bMovingPoint && !m_bDragging);
}

namespace {

CSwoop2Doc::Arrangement ArrangementOf(UINT nID) {
    switch (nID) {
    case ID_ARRANGE_BRING_TO_FRONT:
        return CSwoop2Doc::Arrangement::ToFront;
    case ID_ARRANGE_BRING_FORWARD:
        return CSwoop2Doc::Arrangement::Forward;
    case ID_ARRANGE_SEND_BACKWARD:
        return CSwoop2Doc::Arrangement::Backward;
    default:
        return CSwoop2Doc::Arrangement::ToBack;
    }
}

} // namespace

void CSwoop2View::OnArrange(UINT nID) {
    CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || m_bDrawing || m_bMovingPoint || m_bDragging)
        return;
    doc->Arrange(ArrangementOf(nID));
}

void CSwoop2View::OnUpdateArrange(CCmdUI* pCmdUI) {
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(doc != nullptr && !m_bDrawing && !m_bMovingPoint && !m_bDragging &&
                   doc->CanArrange(ArrangementOf(pCmdUI->m_nID)));
}

void CSwoop2View::OnUpdateEditSelectAll(CCmdUI* pCmdUI) {
    const CSwoop2Doc* doc = GetDocument();
    pCmdUI->Enable(doc != nullptr && !doc->m_curves.empty() && !m_bDrawing && !m_bMovingPoint &&
                   !m_bDragging);
}

CRect CSwoop2View::BandRect() const {
    return CRect(std::min(m_ptBandStart.x, m_ptBandEnd.x), std::min(m_ptBandStart.y, m_ptBandEnd.y),
                 std::max(m_ptBandStart.x, m_ptBandEnd.x),
                 std::max(m_ptBandStart.y, m_ptBandEnd.y));
}

void CSwoop2View::DrawBandOn(CDC* pDC) const {
    // The dotted inverting pen of the drop outline: drawing it twice restores the surface.
    const CRect band = BandRect();
    const int oldRop = pDC->SetROP2(R2_NOT);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CPen pen(PS_DOT, 1, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(band.left, band.top);
    pDC->LineTo(band.right, band.top);
    pDC->LineTo(band.right, band.bottom);
    pDC->LineTo(band.left, band.bottom);
    pDC->LineTo(band.left, band.top);
    pDC->SetROP2(oldRop);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CSwoop2View::DrawBand() {
    try {
        CClientDC dc(this);
        OnPrepareDC(&dc, nullptr);
        DrawBandOn(&dc);
    } catch (const std::bad_alloc&) {
        // A band drawn in part must not stay: the window is repainted from the drawing.
        InvalidateRect(nullptr, true);
    }
}
