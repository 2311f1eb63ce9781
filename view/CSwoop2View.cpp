#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CCmdUI.h"
#include "view/CommandIds.h"

#include <cmath>
#include <string>

IMPLEMENT_DYNCREATE(CSwoop2View, CView)

BEGIN_MESSAGE_MAP(CSwoop2View, CView)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDBLCLK()
ON_COMMAND(ID_CURVES_SELECT, &CSwoop2View::OnCurvesSelect)
ON_UPDATE_COMMAND_UI(ID_CURVES_SELECT, &CSwoop2View::OnUpdateCurvesSelect)
ON_COMMAND(ID_CURVES_DRAW, &CSwoop2View::OnCurvesDraw)
ON_UPDATE_COMMAND_UI(ID_CURVES_DRAW, &CSwoop2View::OnUpdateCurvesDraw)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CSwoop2View::OnUpdateEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CSwoop2View::OnUpdateEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CSwoop2View::OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, &CSwoop2View::OnUpdateEditClear)
ON_COMMAND(ID_EDIT_UNDO, &CSwoop2View::OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, &CSwoop2View::OnUpdateEditUndo)
ON_COMMAND(ID_EDIT_REDO, &CSwoop2View::OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, &CSwoop2View::OnUpdateEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, &CSwoop2View::OnUpdateEditSelectAll)
ON_COMMAND(ID_VIEW_CANCEL, &CSwoop2View::OnViewCancel)
ON_COMMAND(ID_CURVES_END, &CSwoop2View::OnCurvesEnd)
ON_COMMAND_RANGE(ID_NUDGE_FIRST, ID_NUDGE_LAST, &CSwoop2View::OnNudge)
ON_UPDATE_COMMAND_UI_RANGE(ID_NUDGE_FIRST, ID_NUDGE_LAST, &CSwoop2View::OnUpdateNudge)
ON_COMMAND_RANGE(ID_ARRANGE_BRING_TO_FRONT, ID_ARRANGE_SEND_TO_BACK, &CSwoop2View::OnArrange)
ON_UPDATE_COMMAND_UI_RANGE(ID_ARRANGE_BRING_TO_FRONT, ID_ARRANGE_SEND_TO_BACK,
                           &CSwoop2View::OnUpdateArrange)
ON_COMMAND(ID_VIEW_ZOOM_IN, &CSwoop2View::OnViewZoomIn)
ON_UPDATE_COMMAND_UI(ID_VIEW_ZOOM_IN, &CSwoop2View::OnUpdateViewZoomIn)
ON_COMMAND(ID_VIEW_ZOOM_OUT, &CSwoop2View::OnViewZoomOut)
ON_UPDATE_COMMAND_UI(ID_VIEW_ZOOM_OUT, &CSwoop2View::OnUpdateViewZoomOut)
ON_COMMAND(ID_VIEW_ACTUAL_SIZE, &CSwoop2View::OnViewActualSize)
ON_COMMAND(ID_VIEW_FIT_DRAWING, &CSwoop2View::OnViewFitDrawing)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_ZOOM, &CSwoop2View::OnUpdateIndicatorZoom)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_POSITION, &CSwoop2View::OnUpdateIndicatorPosition)
ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CSwoop2View::CSwoop2View() = default;

CSwoop2View::~CSwoop2View() = default;

CSwoop2Doc* CSwoop2View::GetDocument() const {
    return dynamic_cast<CSwoop2Doc*>(m_pDocument);
}

CPoint CSwoop2View::WindowCentre() const {
    const CSize client = GetViewportSize();
    return CPoint(client.cx / 2, client.cy / 2);
}

void CSwoop2View::OnViewZoomIn() {
    SetZoomStep(GetZoomStep() + 1, WindowCentre());
}

void CSwoop2View::OnUpdateViewZoomIn(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetZoomStep() < kZoomInmost);
}

void CSwoop2View::OnViewZoomOut() {
    SetZoomStep(GetZoomStep() - 1, WindowCentre());
}

void CSwoop2View::OnUpdateViewZoomOut(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetZoomStep() > kZoomOutmost);
}

void CSwoop2View::OnViewActualSize() {
    ResetZoomAndScroll();
}

void CSwoop2View::OnViewFitDrawing() {
    ZoomToFit();
}

void CSwoop2View::OnUpdateIndicatorZoom(CCmdUI* pCmdUI) {
    pCmdUI->SetText(std::to_string(std::llround(GetZoom() * 100)) + "%");
}

void CSwoop2View::OnUpdateIndicatorPosition(CCmdUI* pCmdUI) {
    CPoint point;
    if (!GetPointerUnits(point)) {
        pCmdUI->SetText({});
        return;
    }
    pCmdUI->SetText(std::to_string(point.x) + ", " + std::to_string(point.y));
}

int CSwoop2View::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // A view that cannot accept drops still draws and still drags: nothing to report.
    m_dropTarget.Register(this);
    return 0;
}
