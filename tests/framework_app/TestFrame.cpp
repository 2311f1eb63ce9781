#include "TestFrame.h"

#include "TestIds.h"

int CTestFrame::s_nFailCreate = 0;

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {
const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
}

int CTestFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (s_nFailCreate == 1)
        return -1;
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                        CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndDrawToolBar.CreateEx(this, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndDrawToolBar.LoadToolBar(IDR_TOOLS))
        return -1;
    // An indicator without a string fails the status bar.
    const UINT unnamed[] = {ID_SEPARATOR, 0xE7FF};
    if (!m_wndStatusBar.Create(this) ||
        (s_nFailCreate == 2 ? !m_wndStatusBar.SetIndicators(unnamed, 2)
                            : !m_wndStatusBar.SetIndicators(indicators, 4)))
        return -1;
    m_wndToolBar.SetWindowText("Main");
    m_wndDrawToolBar.SetWindowText("Drawing Tools");
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndDrawToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DockControlBar(&m_wndDrawToolBar);
    return 0;
}
