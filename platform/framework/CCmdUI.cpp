#include "platform/framework/CCmdUI.h"

#include "platform/framework/CCmdTarget.h"

#include <QAction>
#include <QActionGroup>

void CCmdUI::Enable(bool bOn) {
    m_bEnabled = bOn;
    m_bEnableChanged = true;
    if (m_pAction != nullptr)
        m_pAction->setEnabled(bOn);
}

void CCmdUI::SetCheck(int nCheck) {
    m_nCheck = nCheck;
    m_bRadio = false;
    m_bCheckChanged = true;
    if (m_pAction == nullptr)
        return;
    m_pAction->setCheckable(true);
    m_pAction->setChecked(nCheck != 0);
}

void CCmdUI::SetRadio(bool bOn) {
    m_nCheck = bOn ? 1 : 0;
    m_bRadio = true;
    m_bCheckChanged = true;
    if (m_pAction == nullptr)
        return;
    // A menu draws a bullet only for an action of an exclusive group. Each action gets a group
    // of its own so that the update handlers, not the group, decide which one is marked.
    if (m_pAction->actionGroup() == nullptr) {
        auto* group = new QActionGroup(m_pAction);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        group->addAction(m_pAction);
    }
    m_pAction->setCheckable(true);
    m_pAction->setChecked(bOn);
}

void CCmdUI::SetText(const std::string& text) {
    m_strText = text;
    m_bTextChanged = true;
    if (m_pAction != nullptr)
        m_pAction->setText(QString::fromStdString(text));
}

bool CCmdUI::DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHandler) {
    if (pTarget == nullptr)
        return false;
    m_bEnableChanged = false;
    const bool answered = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (m_bEnableChanged || !bDisableIfNoHandler)
        return answered;
    // No handler said whether the command is available: it is exactly when some table
    // handles it.
    const bool handled = pTarget->OnCmdMsg(m_nID, CN_COMMAND, nullptr, true);
    Enable(handled);
    return answered || handled;
}
