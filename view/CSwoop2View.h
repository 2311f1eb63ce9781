#pragma once

#include "curve/CCurve.h"
#include "platform/Types.h"
#include "platform/framework/CView.h"
#include "platform/geometry/CPoint.h"
#include "platform/ole/COleDropTarget.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CCmdUI;
class CSwoop2Doc;

// The one view of the drawing: paints the curves and the selection's handles, turns the mouse
// into drawing, selecting and point dragging, and moves whole curves by drag and drop.
class CSwoop2View : public CView {
protected:
    CSwoop2View();
    DECLARE_DYNCREATE(CSwoop2View)

public:
    ~CSwoop2View() override;

    // The document as the program's own class, or null when the view shows none.
    CSwoop2Doc* GetDocument() const;

    // The tools.
    static constexpr std::int32_t kToolDraw = 0;
    static constexpr std::int32_t kToolSelect = 1;

    // A curve is being drawn: no handles, and no Cut, Copy or Paste, until a right press.
    bool m_bDrawing = false;
    // A Select press landed inside the selected curve's bounds; the next move starts a drag.
    bool m_bDragPending = false;
    // A drag started by this view is running.
    bool m_bDragging = false;
    // A control point of the selected curve follows the mouse.
    bool m_bMovingPoint = false;
    // Where the next point-drag step measures from.
    CPoint m_ptLast;
    // The mouse at the drag's entry or at the last placement of the outline.
    CPoint m_ptDragLast;
    // Where the drop outline is drawn now; far off every surface until it is first drawn.
    CPoint m_ptFeedback;
    // From the outline's top-left corner to the mouse.
    CPoint m_ptGrab;
    // The curve being dragged over the view, moved to the origin; null when none is. Several
    // curves dragged together: the first, and the others in m_feedbackMore, all moved alike.
    std::unique_ptr<CCurve> m_pFeedback;
    std::vector<std::unique_ptr<CCurve>> m_feedbackMore;
    // A Select press on empty space: a move draws the rubber band from there.
    bool m_bBandPending = false;
    bool m_bBanding = false;
    // Shift held at the press: the band adds to the selection.
    bool m_bBandAdds = false;
    CPoint m_ptBandStart;
    CPoint m_ptBandEnd;
    // A press inside one of several selected curves: released without a move, it alone is
    // selected. Compared, never followed.
    const CCurve* m_pPressed = nullptr;
    std::int32_t m_nTool = kToolDraw;
    // The curve the Draw tool started last, while it may still be drawn, and the one whose
    // drawing was ended open; compared, never followed.
    const CCurve* m_pDrawn = nullptr;
    const CCurve* m_pEnded = nullptr;
    COleDropTarget m_dropTarget;

    // Drop target.
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave() override;
    // The outline keeps its place under the pointer while the window scrolls beneath it.
    void OnDragScroll(CPoint step, CPoint client) override;
    bool OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    // Painting, for the window, the printer and the preview alike.
    void OnDraw(CDC* pDC) override;
    // Keeps the layer in step with each edit the document reports, then repaints as the base.
    void OnUpdate(CView* pSender, std::intptr_t lHint, void* pHint) override;
    // Every curve's extent together: what the scroll bars reach.
    CRect GetDrawingExtent() const override;
    // A point being dragged follows the pointer past the window's edges.
    bool WantsAutoScroll() const override;
    bool OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // Message and command handlers.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    // Ends the curve being drawn, as Enter does.
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    // Escape: gives up the gesture under way, or else ends the curve being drawn, or else
    // clears the selection.
    void OnViewCancel();
    void OnCurvesEnd();
    void OnNudge(UINT nID);
    void OnUpdateNudge(CCmdUI* pCmdUI);
    void OnArrange(UINT nID);
    void OnUpdateArrange(CCmdUI* pCmdUI);
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    void OnCurvesSelect();
    void OnUpdateCurvesSelect(CCmdUI* pCmdUI);
    void OnCurvesDraw();
    void OnUpdateCurvesDraw(CCmdUI* pCmdUI);
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnUpdateEditClear(CCmdUI* pCmdUI);
    void OnEditUndo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnEditRedo();
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    // Zoom, about the middle of the window.
    void OnViewZoomIn();
    void OnUpdateViewZoomIn(CCmdUI* pCmdUI);
    void OnViewZoomOut();
    void OnUpdateViewZoomOut(CCmdUI* pCmdUI);
    void OnViewActualSize();
    void OnViewFitDrawing();
    // The status bar's panes: the zoom as a percentage, and the unit under the pointer.
    void OnUpdateIndicatorZoom(CCmdUI* pCmdUI);
    void OnUpdateIndicatorPosition(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // Brings the view's own state in line with the drawing after Undo or Redo.
    void AfterHistoryMove();
    // Sets the drawing flag exactly when the selection is the open curve this view started.
    void SyncDrawingFlag();
    // Leaves the curve being drawn open; the next Draw press starts a new one.
    void EndCurve();
    CPoint WindowCentre() const;
    // A press with the Select tool: a handle, a curve, Shift, or empty space for a band.
    void SelectPress(CSwoop2Doc& doc, UINT nFlags, CPoint point);
    // Runs the drag of the selection and removes it when the target took it as a move.
    void DragSelectedCurve();
    // The rubber band, drawn or erased on the window by the inverting pen, and on a surface.
    void DrawBand();
    void DrawBandOn(CDC* pDC) const;
    CRect BandRect() const;
    // Draws the drop outline of every dragged curve on a surface.
    void DrawFeedbackOn(CDC* pDC, CPoint offset) const;
    // Draws or erases the drop outline at an offset; the inverting pen makes both the same.
    void DrawFeedback(CPoint offset);
    // The curves that entering data carries, decoded, or none when the data holds none.
    std::vector<std::unique_ptr<CCurve>> DecodeDraggedCurves(COleDataObject* pDataObject) const;
    bool OffersCurves(COleDataObject* pDataObject) const;
    // A drop of several curves; then what every drop leaves the view.
    bool DropCurves(COleDataObject* pDataObject, CPoint point);
    void AfterDrop();
    // Draws every curve that can reach the surface's clip, leaving out one; returns whether that
    // one was among them.
    bool DrawCurves(CDC* pDC, const CCurve* pLeftOut) const;
    // The handles of every selected curve.
    void PaintHandles(CDC* pDC) const;
    // Paints the whole selection's handles over the window's picture when curves only joined
    // the selection; false when the window must repaint instead.
    bool ShowAddedHandles();
    // Every selected curve, in an order that suits the size of the selection.
    void ForEachSelected(const std::function<void(const CCurve&)>& visit) const;
    // Whether the selection's handles show now, and where.
    bool HandlesShown() const;
    CRect ShownHandles() const;

    // The layer holds the settled curves: every curve of the drawing but the selection, which
    // most edits change alone. A repaint of a part copies the layer and draws the selection
    // over it. The pixels are those of drawing every curve, for every curve is black on white
    // and drawn with the copying pen, so that no curve covers another.
    //
    // Whether the layer holds every curve but the selection, as they are now.
    bool IsSettled() const;
    // Draws every curve but the selection on a new layer.
    void SettleAll();
    // Brings the layer up to an edit that changed only the part given, or gives it up.
    void SettleEdit(const CRect& part);
    // Draws the part of the layer again from the curves, leaving out one; returns whether that
    // one was among them.
    bool DrawSettled(const CRect& part, const CCurve* pLeftOut);
    void OnLayerExposed(const CRect& part) override;
    // The layer of a zoom step drawn on another thread: every curve but the selection.
    LayerDrawing MakeLayerDrawing() override;
    void OnLayerDrawn() override;
    // How far from a control point, in units, a press still picks it: 8 by 8 screen units.
    std::int32_t HitHalf() const;

    bool m_bSettled = false;
    // The curve the layer leaves out: the selection when the layer was last brought up to
    // date. Compared, never followed, until the document is known still to hold it. The other
    // selected curves are left out too, as they were at the document's count of selection
    // changes.
    const CCurve* m_pUnsettled = nullptr;
    std::uint64_t m_nSettledSelection = 0;
    // The document's curve and deletion counts when the layer was last brought up to date.
    std::size_t m_nSettledCurves = 0;
    std::uint64_t m_nSettledDeletions = 0;
    std::uint64_t m_nSettledRestorations = 0;
    // The curve the layer being drawn on another thread leaves out.
    const CCurve* m_pDrawnUnsettled = nullptr;
    // The document's count of selection changes when that drawing began.
    std::uint64_t m_nDrawnSelection = 0;
};
