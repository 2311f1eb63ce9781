#include "platform/framework/CFrameWnd.h"

#include "platform/framework/CCmdUI.h"
#include "platform/framework/CControlBar.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CommandRouting.h"
#include "platform/framework/GuardedCall.h"
#include "platform/framework/internal/FrameworkWidgets.h"
#include "platform/framework/internal/ResourcesQt.h"
#include "platform/framework/internal/StartUpWarmUp.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() {
    AfxRegisterFrame(this);
}

CFrameWnd::~CFrameWnd() {
    m_bDestroying = true;
    AfxUnregisterFrame(this);
    delete m_pViewActive;
    m_pViewActive = nullptr;
    for (CControlBar* bar : m_bars)
        bar->m_pFrame = nullptr;
    m_bars.clear();
    if (auto* widget = dynamic_cast<CFrameWidget*>(m_pWidget))
        widget->Detach();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    // The window goes while the frame is still whole, so that nothing it sends on its way
    // reaches a half-destroyed object.
    delete m_pWidget;
    m_pWidget = nullptr;
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCT&) {
    return true;
}

bool CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd*, CCreateContext* pContext) {
    CREATESTRUCT cs;
    cs.style = dwDefaultStyle;
    cs.cx = 640;
    cs.cy = 480;
    if (!PreCreateWindow(cs))
        return false;
    m_nIDHelp = nIDResource;

    auto* widget = new CFrameWidget(this);
    m_pWidget = widget;
    widget->resize(cs.cx, cs.cy);
    const QIcon icon = AfxLoadIcon(nIDResource);
    if (!icon.isNull())
        widget->setWindowIcon(icon);
    if (m_strTitle.empty()) {
        // The application part of the caption is the document string's first field.
        m_strTitle = AfxExtractSubString(AfxLoadString(nIDResource), 0);
    }
    widget->setWindowTitle(AfxQtWindowTitle(m_strTitle));
    // The window system's window is made now, while the desktop's fonts are still being listed
    // on a thread of their own: making it needs no font, and the first show then need not.
    widget->winId();
    // The bars measure their texts as they are made.
    StartUpWarmUp::AwaitFontConfiguration();

    m_pCreateContext = pContext;
    AFX_MSGARGS args;
    args.lpCreateStruct = &cs;
    LRESULT result = -1;
    AfxCallGuarded([&] { result = SendMessage(WM_CREATE, args); });
    m_pCreateContext = nullptr;
    // A failed creation leaves the window to the frame's destruction, which takes the bars
    // and the view first: whoever made the frame deletes it.
    if (result == -1) {
        widget->hide();
        return false;
    }
    // The menu bar comes last: making it waits for the session bus, which is still being
    // connected on a thread of its own while the bars and the view are made.
    BuildMenu(nIDResource);
    BuildAccelerators(nIDResource);
    return true;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    return OnCreateClient(lpcs, m_pCreateContext) ? 0 : -1;
}

bool CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return true;
    auto* view = dynamic_cast<CView*>(pContext->m_pNewViewClass->CreateObject());
    if (view == nullptr)
        return false;
    if (!view->Create(this, pContext->m_pCurrentDoc, AFX_IDW_PANE_FIRST)) {
        delete view;
        return false;
    }
    m_pViewActive = view;
    return true;
}

void CFrameWnd::OnClose() {
    CDocument* document = GetActiveDocument();
    if (document != nullptr && !document->SaveModified())
        return;
    m_bCloseApproved = true;
    // Closing the main window ends the program; when the close came from a command rather
    // than the window's close box, the window is closed here.
    if (m_pWidget != nullptr)
        m_pWidget->close();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
        QCoreApplication::quit();
}

CDocument* CFrameWnd::GetActiveDocument() const {
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle() {
    if (m_pWidget == nullptr)
        return;
    std::string caption = m_strTitle;
    if (const CDocument* document = GetActiveDocument(); document != nullptr)
        caption = document->GetTitle() + " - " + m_strTitle;
    m_pWidget->setWindowTitle(AfxQtWindowTitle(caption));
}

// Routing: the active view (and through it its document), the frame, then the application.
bool CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe) {
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return true;
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return true;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pCmdUI, bProbe);
}

void CFrameWnd::ExecuteCommand(UINT nID) {
    if (m_bDestroying)
        return;
    bool enabled = false;
    {
        CRoutingScope scope(m_pViewActive);
        AfxCallGuarded([&] {
            CCmdUI state(nID);
            state.DoUpdate(this, m_bAutoMenuEnable);
            enabled = state.m_bEnabled;
        });
    }
    if (!enabled)
        return;
    // The command may close the frame: nothing of it is touched afterwards.
    CRoutingScope scope(m_pViewActive);
    AfxCallGuarded([&] { OnCmdMsg(nID, CN_COMMAND, nullptr); });
    AfxScheduleIdleUpdate();
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_bDestroying || m_pWidget == nullptr)
        return;
    CRoutingScope scope(m_pViewActive);
    for (CControlBar* bar : std::vector<CControlBar*>(m_bars))
        AfxCallGuarded([&] { bar->OnUpdateCmdUI(this, m_bAutoMenuEnable); });
}

void CFrameWnd::UpdateMenu(QMenu* menu) {
    if (m_bDestroying)
        return;
    CRoutingScope scope(m_pViewActive);
    std::vector<QPointer<QAction>> actions;
    for (QAction* action : menu->actions())
        actions.emplace_back(action);
    for (const QPointer<QAction>& action : actions) {
        if (action.isNull() || action->isSeparator() || action->menu() != nullptr)
            continue;
        const QVariant id = action->property(kCommandIdProperty);
        if (!id.isValid())
            continue;
        AfxCallGuarded([&] {
            CCmdUI state(id.toUInt(), action.data(), menu);
            state.DoUpdate(this, m_bAutoMenuEnable);
        });
    }
}

void CFrameWnd::BuildMenu(UINT nIDResource) {
    const AFX_MENU_RESOURCE* resource = AfxFindMenu(nIDResource);
    if (resource == nullptr)
        return;
    auto* main = static_cast<QMainWindow*>(m_pWidget);
    QMenuBar* bar = main->menuBar();
    std::vector<QMenu*> open;
    for (std::size_t i = 0; i < resource->nItems; ++i) {
        const AFX_MENU_ITEM& item = resource->pItems[i];
        if (item.nFlags & MF_POPUP) {
            const QString title = QString::fromUtf8(item.lpszText ? item.lpszText : "");
            QMenu* menu = open.empty() ? bar->addMenu(title) : open.back()->addMenu(title);
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { UpdateMenu(menu); });
            open.push_back(menu);
            continue;
        }
        if (item.nFlags & MF_END) {
            if (!open.empty())
                open.pop_back();
            continue;
        }
        if (open.empty())
            continue;
        if (item.nFlags & MF_SEPARATOR) {
            open.back()->addSeparator();
            continue;
        }
        QAction* action =
            open.back()->addAction(QString::fromUtf8(item.lpszText ? item.lpszText : ""));
        action->setProperty(kCommandIdProperty, item.nID);
        action->setStatusTip(AfxCommandPrompt(item.nID));
        action->setEnabled(!(item.nFlags & MF_GRAYED));
        if (item.nFlags & MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    // Every menu action, the recent files added later included, reaches the frame here.
    QObject::connect(bar, &QMenuBar::triggered, bar, [this](QAction* action) {
        const QVariant id = action->property(kCommandIdProperty);
        if (id.isValid())
            ExecuteCommand(id.toUInt());
    });
}

void CFrameWnd::BuildAccelerators(UINT nIDResource) {
    const AFX_ACCEL_RESOURCE* resource = AfxFindAccelerators(nIDResource);
    if (resource == nullptr)
        return;
    for (std::size_t i = 0; i < resource->nEntries; ++i) {
        const ACCEL& accel = resource->pEntries[i];
        const QKeySequence key = AfxAccelKey(accel);
        if (key.isEmpty())
            continue;
        auto* shortcut = new QShortcut(key, m_pWidget);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT nID = accel.cmd;
        QObject::connect(shortcut, &QShortcut::activated, shortcut,
                         [this, nID] { ExecuteCommand(nID); });
        QObject::connect(shortcut, &QShortcut::activatedAmbiguously, shortcut,
                         [this, nID] { ExecuteCommand(nID); });
    }
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    auto* main = static_cast<QMainWindow*>(m_pWidget);
    if (main == nullptr)
        return;
    main->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    (void)dwDockStyle;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, const CRect*) {
    auto* main = static_cast<QMainWindow*>(m_pWidget);
    auto* toolBar = pBar != nullptr ? qobject_cast<QToolBar*>(pBar->GetWidget()) : nullptr;
    if (main == nullptr || toolBar == nullptr)
        return;
    main->addToolBar(AfxDockArea(nDockBarID != 0 ? nDockBarID : pBar->GetBarStyle()), toolBar);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    for (CControlBar* bar : m_bars) {
        if (bar->GetDlgCtrlID() == nID)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::SetMessageText(const std::string& text) {
    CControlBar* bar = GetControlBar(AFX_IDW_STATUS_BAR);
    if (auto* status = bar != nullptr ? qobject_cast<QStatusBar*>(bar->GetWidget()) : nullptr)
        status->showMessage(QString::fromStdString(text));
}

void CFrameWnd::ClearMessageText(const std::string& text) {
    CControlBar* bar = GetControlBar(AFX_IDW_STATUS_BAR);
    auto* status = bar != nullptr ? qobject_cast<QStatusBar*>(bar->GetWidget()) : nullptr;
    // The status bar puts its idle text back once the message is cleared.
    if (status != nullptr && status->currentMessage() == QString::fromStdString(text))
        status->clearMessage();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, bool bShow) {
    if (pBar != nullptr && pBar->GetWidget() != nullptr)
        pBar->GetWidget()->setVisible(bShow);
}

// View > Toolbar shows or hides every bar with the toolbar's id (both toolbars of the
// program carry it); its mark follows the first of them.
bool CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* first = GetControlBar(nID);
    if (first == nullptr || first->GetWidget() == nullptr)
        return false;
    const bool show = first->GetWidget()->isHidden();
    for (CControlBar* bar : std::vector<CControlBar*>(m_bars)) {
        if (bar->GetDlgCtrlID() == nID)
            ShowControlBar(bar, show);
    }
    return true;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == nullptr) {
        pCmdUI->SetCheck(0);
        pCmdUI->Enable(false);
        return;
    }
    // Hidden or not, a bar's visibility is what the user set: a minimised frame does not
    // clear the mark.
    pCmdUI->SetCheck(bar->GetWidget() != nullptr && !bar->GetWidget()->isHidden() ? 1 : 0);
    pCmdUI->Enable(true);
}

// The main window.

CFrameWidget::CFrameWidget(CFrameWnd* pFrame) : m_pFrame(pFrame) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void CFrameWidget::closeEvent(QCloseEvent* event) {
    if (m_pFrame == nullptr || m_pFrame->m_bCloseApproved) {
        event->accept();
        return;
    }
    CFrameWnd* frame = m_pFrame;
    AFX_MSGARGS args;
    AfxCallGuarded([&] { frame->SendMessage(WM_CLOSE, args); });
    event->setAccepted(frame->m_bCloseApproved);
}
