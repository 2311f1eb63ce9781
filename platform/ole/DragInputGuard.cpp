#include "platform/ole/DragInputGuard.h"

#include <QCoreApplication>
#include <QEvent>

DragInputGuard::DragInputGuard() {
    ++s_active;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

DragInputGuard::~DragInputGuard() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    --s_active;
}

bool DragInputGuard::eventFilter(QObject* watched, QEvent* event) {
    // Only what reaches widgets is held back: Qt's windows still see every event and keep
    // their bookkeeping of keys and buttons right for when the drag is over.
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
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
        return true;
    case QEvent::Close:
        // The window stays until the drag is over; the user may close it then.
        event->ignore();
        return true;
    default:
        return false;
    }
}
