#pragma once

#include "platform/framework/CCmdTarget.h"
#include "platform/geometry/CRect.h"

#include <string>

class QWidget;

struct CREATESTRUCT {
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    std::string lpszName;
};

// A window of the framework. The Qt widget behind it exists from creation to destruction.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    QWidget* GetWidget() const { return m_pWidget; }

    // Called before the window is made, with its creation parameters; false stops the
    // creation.
    virtual bool PreCreateWindow(CREATESTRUCT& cs);
    UINT GetDlgCtrlID() const { return m_nID; }

    bool ShowWindow(int nCmdShow);
    void UpdateWindow();
    virtual void InvalidateRect(const CRect* pRect, bool bErase = true);
    void Invalidate(bool bErase = true) { InvalidateRect(nullptr, bErase); }
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    bool IsWindowVisible() const;
    void GetClientRect(CRect* pRect) const;
    virtual bool DestroyWindow();

    // Delivers a window message through the message tables; the table's handler, or the
    // default handling when no table has a row for it.
    LRESULT SendMessage(UINT nMessage, AFX_MSGARGS& args);

    // Passes the message being handled on to the default handling.
    LRESULT Default();

    // The handlers' base implementations, reached when a table names them or when the
    // program's handler calls them.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

protected:
    QWidget* m_pWidget = nullptr;
    UINT m_nID = 0;
};
