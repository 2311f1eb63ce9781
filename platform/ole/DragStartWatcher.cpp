#include "platform/ole/DragStartWatcher.h"

#include "platform/ole/DragInputGuard.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

DragStartWatcher::DragStartWatcher(QPoint startGlobal, Qt::MouseButton button,
                                   const DragInputGuard& guard)
    : m_start(startGlobal), m_button(button), m_guard(guard) {
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] { Finish(true); });
}

bool DragStartWatcher::Wait() {
    QCoreApplication::instance()->installEventFilter(this);
    m_timeout.start(QGuiApplication::styleHints()->startDragTime());
    if (!m_finished)
        m_loop.exec();
    QCoreApplication::instance()->removeEventFilter(this);
    m_timeout.stop();
    return m_begin;
}

void DragStartWatcher::Finish(bool begin) {
    if (m_finished)
        return;
    m_finished = true;
    m_begin = begin;
    m_loop.quit();
}

bool DragStartWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (!m_guard.Holds(watched))
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        m_receiver = static_cast<QWidget*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint travel = mouse->globalPosition().toPoint() - m_start;
        if (travel.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance())
            Finish(true);
        return true;
    }
    case QEvent::MouseButtonRelease:
        // A click of another button while the dragging one is held is swallowed like any
        // other input; letting go of the dragging one ends the wait with no drag, whatever
        // else is still held.
        if (static_cast<QMouseEvent*>(event)->button() == m_button)
            Finish(false);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Finish(false);
            return true;
        }
        return false;
    default:
        return false;
    }
}
