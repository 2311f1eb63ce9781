#pragma once

// Platform-internal: what the program receives while one of its drags runs.

#include <QObject>

// Keeps the user's input away from the program's windows for as long as a drag it started
// runs: the wait before the drag proper begins, the drag itself and the wait for another
// program's answer to a drop. Those stretches run event loops nested inside the source's
// handler, and an accelerator, a menu command or a press in a view arriving there would change
// the drawing under the drag's feet. The drag's own keys are seen first by the watchers that
// handle them (Escape cancels; Ctrl is read from the keyboard's state, which this leaves
// alone), and the drag events that carry drops pass, so a drop target's handlers are all that
// re-enter.
class DragInputGuard : public QObject {
public:
    DragInputGuard();
    ~DragInputGuard() override;
    DragInputGuard(const DragInputGuard&) = delete;
    DragInputGuard& operator=(const DragInputGuard&) = delete;

    // Whether a drag of this process runs now.
    static bool IsActive() { return s_active > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static inline int s_active = 0;
};
