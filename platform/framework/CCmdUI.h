#pragma once

#include "platform/Types.h"

#include <string>

class CCmdTarget;
class QAction;
class QMenu;

// The state of one menu item or toolbar button while its command's update handler runs.
// The handler calls Enable and SetRadio or SetCheck; the framework shows the result.
class CCmdUI {
public:
    explicit CCmdUI(UINT nID, QAction* pAction = nullptr, QMenu* pMenu = nullptr)
        : m_nID(nID), m_pAction(pAction), m_pMenu(pMenu) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(bool bOn = true);
    virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked
    virtual void SetRadio(bool bOn = true);
    // The text shown: a status-bar pane's, or a menu item's.
    virtual void SetText(const std::string& text);

    // Asks the routing target for the state. A command that no table handles is disabled
    // when bDisableIfNoHandler is set. Returns true when some table answered.
    bool DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHandler);

    UINT m_nID;
    QAction* m_pAction; // the menu item or button shown, when there is one
    QMenu* m_pMenu;     // the menu that holds it, while that menu is opening

    // What the handlers asked for, for callers that show no widget.
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    int m_nCheck = 0;
    bool m_bRadio = false;
    bool m_bCheckChanged = false;
    std::string m_strText;
    bool m_bTextChanged = false;
};
