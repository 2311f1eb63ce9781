#include "TestView.h"

#include "TestDoc.h"
#include "TestIds.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CException.h"
#include "platform/gdi/CDC.h"

IMPLEMENT_DYNCREATE(CTestView, CView)

bool CTestView::s_bFailCreate = false;

BEGIN_MESSAGE_MAP(CTestView, CView)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_COMMAND(ID_TOOL_LINE, &CTestView::OnToolLine)
ON_UPDATE_COMMAND_UI(ID_TOOL_LINE, &CTestView::OnUpdateToolLine)
ON_COMMAND(ID_TOOL_DOT, &CTestView::OnToolDot)
ON_UPDATE_COMMAND_UI(ID_TOOL_DOT, &CTestView::OnUpdateToolDot)
ON_COMMAND(ID_EDIT_COPY, &CTestView::OnEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CTestView::OnUpdateEditCopy)
ON_COMMAND(ID_TEST_EXHAUST, &CTestView::OnExhaust)
ON_COMMAND(ID_TEST_LOCKED, &CTestView::OnLocked)
ON_UPDATE_COMMAND_UI(ID_TEST_LOCKED, &CTestView::OnUpdateLocked)
ON_COMMAND(ID_FILE_PRINT, &CTestView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CTestView::OnFilePrintPreview)
END_MESSAGE_MAP()

CTestDoc* CTestView::GetDocument() const {
    return static_cast<CTestDoc*>(m_pDocument);
}

int CTestView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1 || s_bFailCreate)
        return -1;
    m_bCreated = GetWidget() != nullptr && GetDocument() != nullptr;
    return 0;
}

void CTestView::OnDraw(CDC* pDC) {
    ++m_nDraws;
    const CTestDoc* doc = GetDocument();
    if (doc == nullptr)
        return;
    for (std::int32_t v : doc->m_values) {
        pDC->MoveTo(v, 0);
        pDC->LineTo(v, 100);
    }
}

namespace {
std::string Where(const char* what, CPoint p) {
    return std::string(what) + "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}
} // namespace

void CTestView::OnLButtonDown(UINT nFlags, CPoint point) {
    m_events.push_back(Where("L", point));
    CView::OnLButtonDown(nFlags, point);
}
void CTestView::OnLButtonUp(UINT nFlags, CPoint point) {
    m_events.push_back(Where("U", point));
    CView::OnLButtonUp(nFlags, point);
}
void CTestView::OnRButtonDown(UINT nFlags, CPoint point) {
    m_events.push_back(Where("R", point));
    CView::OnRButtonDown(nFlags, point);
}
void CTestView::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bRecordMoves)
        m_events.push_back(Where("M", point));
    CView::OnMouseMove(nFlags, point);
}

void CTestView::OnToolLine() {
    m_nTool = 0;
}
void CTestView::OnToolDot() {
    m_nTool = 1;
}
void CTestView::OnUpdateToolLine(CCmdUI* pCmdUI) {
    pCmdUI->Enable(true);
    pCmdUI->SetRadio(m_nTool == 0);
}
void CTestView::OnUpdateToolDot(CCmdUI* pCmdUI) {
    pCmdUI->Enable(true);
    pCmdUI->SetRadio(m_nTool == 1);
}
void CTestView::OnEditCopy() {
    ++m_nCopies;
}
void CTestView::OnUpdateEditCopy(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_bCanCopy);
}
void CTestView::OnExhaust() {
    AfxThrowMemoryException();
}
void CTestView::OnLocked() {
    ++m_nLocked;
}
void CTestView::OnUpdateLocked(CCmdUI* pCmdUI) {
    pCmdUI->Enable(false);
}
