#pragma once

#include "platform/framework/CWnd.h"

class CFrameWnd;
class QMainWindow;

// A bar along an edge of a frame: a toolbar or the status bar.
class CControlBar : public CWnd {
public:
    ~CControlBar() override;

    void EnableDocking(DWORD dwDockStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // Brings the bar's buttons or panes up to date while the program is idle.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, bool bDisableIfNoHandler) = 0;

protected:
    friend class CFrameWnd;
    CFrameWnd* m_pFrame = nullptr;
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;

    // The opening steps of creating a bar: records its style and id, joins it to the parent
    // frame and returns the frame's window, which the bar's widget goes into. Null, with nothing
    // changed, when the parent is no frame window or the bar exists already.
    QMainWindow* BeginCreate(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
};
