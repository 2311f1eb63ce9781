#pragma once

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CToolBar m_wndDrawToolBar;

    // Set by tests to make the next frame's creation fail: 1 before the bars are made, 2 when
    // the status bar is made after both toolbars.
    static int s_nFailCreate;

    DECLARE_MESSAGE_MAP()
};
