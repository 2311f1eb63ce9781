#pragma once

// Platform-internal: what the program receives while one of its drags runs.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

// Keeps the user's input away from the program's windows for as long as a drag it started
// runs: the wait before the drag proper begins, the drag itself and the wait for another
// program's answer to a drop. Those stretches run event loops nested inside the source's
// handler, and an accelerator, a menu command or a press in a view arriving there would change
// the drawing under the drag's feet. The drag's own keys are seen first by the watchers that
// handle them (Escape cancels; Ctrl is read from the keyboard's state, which this leaves
// alone), and the drag events that carry drops pass, so a drop target's handlers are all that
// re-enter.
//
// A window opened while the drag runs (the message box of a drop handler that failed, any
// dialog) is outside the drawing's reach and takes its input as usual: holding it back would
// leave a modal box nobody can close.
class DragInputGuard : public QObject {
public:
    DragInputGuard();
    ~DragInputGuard() override;
    DragInputGuard(const DragInputGuard&) = delete;
    DragInputGuard& operator=(const DragInputGuard&) = delete;

    // Whether a drag of this process runs now.
    static bool IsActive() { return s_active > 0; }

    // Whether the object is a widget of a window that was already open when the drag began,
    // whose input the drag holds back.
    bool Holds(const QObject* watched) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Guarded pointers, so that a window opened during the drag at the address of one closed
    // meanwhile is not taken for it.
    std::vector<QPointer<QWidget>> m_windows;
    static inline int s_active = 0;
};
