#pragma once

#include "platform/framework/CControlBar.h"

#include <vector>

class QWidget;

// The status bar: a message pane (ID_SEPARATOR) showing the idle text or the prompt of the
// command under the pointer, key-state panes named by their string ids, and panes of the
// program's own, whose texts come from update handlers (SetText) as the commands' states do.
// A pane is as wide as its string at least.
class CStatusBar : public CControlBar {
public:
    bool Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    bool SetIndicators(const UINT* lpIDArray, int nIDCount);

    // The text of a pane as shown now.
    std::string GetPaneText(int nIndex) const;

    void OnUpdateCmdUI(CFrameWnd* pTarget, bool bDisableIfNoHandler) override;

private:
    std::vector<UINT> m_ids;
    // Null for the message pane; a label for a key-state pane, a CStatusPane for the program's.
    std::vector<QWidget*> m_panes;
};
