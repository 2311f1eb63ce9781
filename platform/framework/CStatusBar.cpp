#include "platform/framework/CStatusBar.h"

#include "platform/framework/CCmdUI.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/Resources.h"
#include "platform/framework/internal/KeyLocks.h"
#include "platform/framework/internal/StatusPane.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace {

// The framework's own panes show the state of a key; every other pane is the program's.
bool IsKeyPane(UINT id) {
    return id >= ID_INDICATOR_EXT && id <= ID_INDICATOR_REC;
}

// A pane's state while its update handler runs: only its text shows.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusCmdUI(UINT nID, CStatusPane* pane) : CCmdUI(nID), m_pPane(pane) {}
    void SetText(const std::string& text) override {
        CCmdUI::SetText(text);
        m_pPane->SetText(QString::fromStdString(text));
    }

private:
    CStatusPane* m_pPane;
};

} // namespace

bool CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    QMainWindow* main = BeginCreate(pParentWnd, dwStyle, nID);
    if (main == nullptr)
        return false;
    auto* bar = new QStatusBar(main);
    m_pWidget = bar;
    main->setStatusBar(bar);
    // The message pane shows the idle text whenever no prompt is shown.
    const QString idle = QString::fromStdString(AfxLoadString(AFX_IDS_IDLEMESSAGE));
    QObject::connect(bar, &QStatusBar::messageChanged, bar, [bar, idle](const QString& text) {
        if (text.isEmpty() && !idle.isEmpty())
            bar->showMessage(idle);
    });
    bar->showMessage(idle);
    bar->setVisible(dwStyle & WS_VISIBLE);
    return true;
}

bool CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    auto* bar = qobject_cast<QStatusBar*>(m_pWidget);
    if (bar == nullptr || nIDCount < 0 || (nIDCount > 0 && lpIDArray == nullptr))
        return false;
    for (QWidget* pane : m_panes)
        delete pane;
    m_panes.clear();
    m_ids.assign(lpIDArray, lpIDArray + nIDCount);
    for (UINT id : m_ids) {
        if (id == ID_SEPARATOR) {
            m_panes.push_back(nullptr);
            continue;
        }
        std::string text;
        if (!AfxLoadString(id, text))
            return false;
        // The program's panes stay blank until their handlers say what they show.
        if (!IsKeyPane(id)) {
            auto* pane = new CStatusPane(QString::fromStdString(text), bar);
            pane->setProperty("afxPaneText", QString::fromStdString(text));
            pane->setProperty("afxProgramPane", id);
            bar->addPermanentWidget(pane);
            m_panes.push_back(pane);
            continue;
        }
        auto* pane = new QLabel(QString::fromStdString(text), bar);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // The pane keeps the width of its text while it shows nothing.
        pane->setMinimumWidth(pane->sizeHint().width() + 8);
        pane->setProperty("afxPaneText", pane->text());
        bar->addPermanentWidget(pane);
        m_panes.push_back(pane);
    }
    return true;
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    if (nIndex < 0 || std::size_t(nIndex) >= m_panes.size())
        return {};
    if (m_panes[nIndex] == nullptr) {
        auto* bar = qobject_cast<QStatusBar*>(m_pWidget);
        return bar != nullptr ? bar->currentMessage().toStdString() : std::string();
    }
    if (!IsKeyPane(m_ids[nIndex]))
        return static_cast<const CStatusPane*>(m_panes[nIndex])->Text().toStdString();
    return static_cast<const QLabel*>(m_panes[nIndex])->text().toStdString();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, bool) {
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i] == nullptr)
            continue;
        if (!IsKeyPane(m_ids[i])) {
            CStatusCmdUI state(m_ids[i], static_cast<CStatusPane*>(m_panes[i]));
            state.DoUpdate(pTarget, false);
            continue;
        }
        auto* pane = static_cast<QLabel*>(m_panes[i]);
        // A key pane shows its name while its lock is on; when the platform does not say,
        // it stays blank.
        const bool on = AfxIsKeyLockOn(m_ids[i]);
        pane->setText(on ? pane->property("afxPaneText").toString() : QString());
    }
}
