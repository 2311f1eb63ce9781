#pragma once

#include "platform/framework/CControlBar.h"

// A toolbar built from a toolbar resource: one button per command, separators between
// groups, tooltips and status prompts from the string table.
class CToolBar : public CControlBar {
public:
    bool Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    bool CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                  UINT nID = AFX_IDW_TOOLBAR);
    bool LoadToolBar(UINT nIDResource);

    void OnUpdateCmdUI(CFrameWnd* pTarget, bool bDisableIfNoHandler) override;
};
