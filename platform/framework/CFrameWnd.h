#pragma once

#include "platform/framework/CWnd.h"

#include <string>
#include <vector>

class CControlBar;
class CDocTemplate;
class CDocument;
class CView;
class QMenu;

// What a frame needs to make its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

// A top-level window with a menu, accelerators, control bars and one view.
class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    bool PreCreateWindow(CREATESTRUCT& cs) override;
    // Creates the window with the menu, accelerators, icon and title of the resource id, then
    // sends WM_CREATE; false when creation failed, and the window is gone again.
    virtual bool LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual bool OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();

    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, const CRect* lpRect = nullptr);
    CControlBar* GetControlBar(UINT nID) const;
    void ShowControlBar(CControlBar* pBar, bool bShow);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }
    CDocument* GetActiveDocument() const;

    // The caption: the document's title, then " - " and the application part.
    virtual void OnUpdateFrameTitle();
    void SetTitle(const std::string& title) { m_strTitle = title; }
    const std::string& GetTitle() const { return m_strTitle; }

    // A message in the status bar's message pane until a prompt takes its place; cleared
    // only while it is still the one shown.
    void SetMessageText(const std::string& text);
    void ClearMessageText(const std::string& text);

    // Delivers a command from a menu item, button or accelerator: only when its update
    // handler leaves it enabled, guarded so that a failure is reported and the program goes
    // on.
    void ExecuteCommand(UINT nID);
    // Brings every control bar up to date.
    void OnIdleUpdateCmdUI();

    bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe = false) override;

    // View > Toolbar and View > Status Bar.
    bool OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

    bool m_bAutoMenuEnable = true;

    DECLARE_MESSAGE_MAP()

private:
    friend class CControlBar;
    friend class CFrameWidget;
    std::vector<CControlBar*> m_bars;
    CView* m_pViewActive = nullptr;
    std::string m_strTitle;
    UINT m_nIDHelp = 0;
    bool m_bCloseApproved = false;
    bool m_bDestroying = false;
    CCreateContext* m_pCreateContext = nullptr;

    void BuildMenu(UINT nIDResource);
    void BuildAccelerators(UINT nIDResource);
    void UpdateMenu(QMenu* menu);
};
