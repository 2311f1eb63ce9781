#include "platform/framework/CToolBar.h"

#include "platform/framework/CCmdUI.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/internal/FrameworkWidgets.h"
#include "platform/framework/internal/ResourcesQt.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#if SWOOP2_HAVE_QT_GUI_PRIVATE
#include <qpa/qplatformwindow_p.h>
#endif

namespace {

// Qt floats a toolbar as a frameless tool window, so a desktop shows no caption for it. Once
// the drag that floated the bar has ended, the bar gets the decorations of a tool window: the
// caption ("Main", "Drawing Tools") and a frame to move it by. Dragged back by its handle it
// docks as before.
class FloatingCaption : public QObject {
public:
    explicit FloatingCaption(QToolBar* bar) : QObject(bar) { bar->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Compared as objects: the bar may be part way through its destruction.
        if (watched != parent())
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::MouseButtonRelease)
            QTimer::singleShot(0, this, [this] { Decorate(); });
        // The show reaches the bar before its window is mapped: a desktop reads the window's
        // type as it maps it, and later only when other hints change.
        if (event->type() == QEvent::Show) {
            auto* bar = static_cast<QWidget*>(watched);
            if (bar->isWindow())
                MarkAsToolbar(bar->windowHandle());
        }
        // Qt passes a button's prompt up its parents only as far as the first window, which
        // is the bar itself while it floats; the prompt belongs in the frame's status bar.
        if (event->type() == QEvent::StatusTip) {
            auto* bar = static_cast<QWidget*>(watched);
            if (bar->isWindow() && bar->parentWidget() != nullptr)
                return QCoreApplication::sendEvent(bar->parentWidget(), event);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Decorate() {
        auto* bar = qobject_cast<QToolBar*>(parent());
        if (bar == nullptr || !bar->isFloating() || !(bar->windowFlags() & Qt::FramelessWindowHint))
            return;
        // The window keeps being shown while its hints change. Hidden and shown again, it can
        // vanish for good: a window manager that sees the map before it has finished
        // withdrawing the window ignores the map.
        const Qt::WindowFlags flags = Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
        bar->overrideWindowFlags(flags);
        QWindow* window = bar->windowHandle();
        if (window == nullptr)
            return;
        // Marked first, so that the type written with the new hints already names a toolbar.
        MarkAsToolbar(window);
        window->setFlags(flags);
    }

    // A tool window has nothing to maximise or minimise, and its hints say so; some desktops
    // (openbox among them) offer both whatever the hints say, but not for a window that says
    // it is a toolbar torn off its main window.
    //
    // Qt on X11 writes a window's type afresh from its flags whenever they change, and then its
    // decoration hints, which make openbox read the type again. A type set only on the native
    // window is lost at that moment and put back a moment later; on a busy machine openbox
    // reads it in between, and since a change of the type alone goes unread, the bar stays
    // maximisable. The window property that Qt writes the type from keeps the toolbar in every
    // type it writes, the native window's first and any made again included.
    static void MarkAsToolbar(QWindow* window) {
        if (window == nullptr)
            return;
        window->setProperty(kWindowTypeProperty, kToolbarType);
#if SWOOP2_HAVE_QT_GUI_PRIVATE
        using XcbWindow = QNativeInterface::Private::QXcbWindow;
        static_assert(kToolbarType == int(XcbWindow::Toolbar));
        if (auto* x11 = window->nativeInterface<XcbWindow>(); x11 != nullptr)
            x11->setWindowType(XcbWindow::Toolbar);
#endif
    }

    static constexpr const char* kWindowTypeProperty = "_q_xcb_wm_window_type";
    static constexpr int kToolbarType = 0x8;
};

} // namespace

bool CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

bool CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID) {
    QMainWindow* main = BeginCreate(pParentWnd, dwStyle, nID);
    if (main == nullptr)
        return false;
    auto* bar = new QToolBar(main);
    m_pWidget = bar;
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setMovable(false);
    bar->setFloatable(false);
    if (dwStyle & CBRS_ALIGN_ANY)
        main->addToolBar(AfxDockArea(dwStyle), bar);
    bar->setVisible(dwStyle & WS_VISIBLE);
    new FloatingCaption(bar);
    QObject::connect(bar, &QToolBar::actionTriggered, bar, [this](QAction* action) {
        const QVariant id = action->property(kCommandIdProperty);
        if (id.isValid() && m_pFrame != nullptr)
            m_pFrame->ExecuteCommand(id.toUInt());
    });
    return true;
}

bool CToolBar::LoadToolBar(UINT nIDResource) {
    auto* bar = qobject_cast<QToolBar*>(m_pWidget);
    const AFX_TOOLBAR_RESOURCE* resource = AfxFindToolBar(nIDResource);
    if (bar == nullptr || resource == nullptr)
        return false;
    bar->clear();
    bar->setObjectName(QStringLiteral("ToolBar%1").arg(nIDResource));
    bar->setIconSize(QSize(resource->cxButton, resource->cyButton));
    for (std::size_t i = 0; i < resource->nButtons; ++i) {
        const AFX_TOOLBAR_BUTTON& button = resource->pButtons[i];
        if (button.nID == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        // The action has no text: Qt would show its text as the tooltip of a command whose
        // string names none.
        auto* action = new QAction(AfxButtonIcon(button), QString(), bar);
        action->setProperty(kCommandIdProperty, button.nID);
        action->setToolTip(m_dwStyle & CBRS_TOOLTIPS ? AfxCommandTip(button.nID) : QString());
        action->setStatusTip(m_dwStyle & CBRS_FLYBY ? AfxCommandPrompt(button.nID) : QString());
        bar->addAction(action);
    }
    return true;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, bool bDisableIfNoHandler) {
    auto* bar = qobject_cast<QToolBar*>(m_pWidget);
    if (bar == nullptr || bar->isHidden())
        return;
    for (QAction* action : bar->actions()) {
        const QVariant id = action->property(kCommandIdProperty);
        if (!id.isValid())
            continue;
        CCmdUI state(id.toUInt(), action);
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}
