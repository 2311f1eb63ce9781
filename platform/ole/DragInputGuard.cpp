#include "platform/ole/DragInputGuard.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>

DragInputGuard::DragInputGuard() {
    ++s_active;
    for (QWidget* window : QApplication::topLevelWidgets())
        m_windows.emplace_back(window);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

DragInputGuard::~DragInputGuard() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    --s_active;
}

bool DragInputGuard::Holds(const QObject* watched) const {
    // Only what reaches widgets is held back: Qt's windows still see every event and keep
    // their bookkeeping of keys and buttons right for when the drag is over.
    if (!watched->isWidgetType())
        return false;
    const QWidget* window = static_cast<const QWidget*>(watched)->window();
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [window](const QPointer<QWidget>& held) { return held.data() == window; });
}

bool DragInputGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (!Holds(watched))
            return false;
        // Taken as the widget's own key, which keeps every accelerator from firing; the key
        // itself is then held back below.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return Holds(watched);
    case QEvent::Close:
        if (!Holds(watched))
            return false;
        // The window stays until the drag is over; the user may close it then.
        event->ignore();
        return true;
    default:
        return false;
    }
}
