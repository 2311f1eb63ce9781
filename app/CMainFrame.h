#pragma once

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"

// The main window: menu, accelerators, the "Main" and "Drawing Tools" toolbars and the status
// bar around the one view.
class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    bool PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // File > Export: asks for a file and a type, and writes the drawing there.
    void OnFileExport();

    CStatusBar* GetStatusBar() { return &m_wndStatusBar; }

protected:
    // Built in this order, torn down in reverse.
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CToolBar m_wndDrawToolBar;

    DECLARE_MESSAGE_MAP()
};
