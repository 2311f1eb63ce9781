#pragma once

// Platform-internal: the wait before a drag proper begins.

#include <QEventLoop>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <QWidget>

class DragInputGuard;

// Holds the mouse input of the program's windows until the pointer has moved the desktop's
// start distance from where it was, or the button has been held for the desktop's start time
// (the drag begins), or the dragging button is released or Escape pressed (it does not). The
// swallowed events are the drag's, as they would be once the drag runs; windows that the guard
// lets through (those opened meanwhile) keep their input.
class DragStartWatcher : public QObject {
    Q_OBJECT
public:
    DragStartWatcher(QPoint startGlobal, Qt::MouseButton button, const DragInputGuard& guard);

    // Runs the wait; true when the drag should begin.
    bool Wait();

    // The widget that received the last mouse event, if any: the drag's source.
    QWidget* LastReceiver() const { return m_receiver; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish(bool begin);

    QPoint m_start;
    Qt::MouseButton m_button;
    const DragInputGuard& m_guard;
    QEventLoop m_loop;
    QTimer m_timeout;
    QPointer<QWidget> m_receiver;
    bool m_begin = false;
    bool m_finished = false;
};
