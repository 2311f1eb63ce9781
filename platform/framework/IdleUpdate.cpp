#include "platform/framework/CFrameWnd.h"
#include "platform/framework/internal/FrameworkWidgets.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <new>
#include <vector>

namespace {

std::vector<CFrameWnd*>& Frames() {
    static std::vector<CFrameWnd*> frames;
    return frames;
}

bool g_bScheduled = false;

void RunIdleUpdate() {
    g_bScheduled = false;
    for (CFrameWnd* frame : std::vector<CFrameWnd*>(Frames())) {
        if (std::find(Frames().begin(), Frames().end(), frame) != Frames().end())
            frame->OnIdleUpdateCmdUI();
    }
}

// Whatever the user does may change what commands are available: after each input event
// the bars are brought up to date once the queue has drained. Changes of the clipboard come
// with no event (Qt 6 sends none); the clipboard service asks for the update itself. Only input and
// window events count, so the updates' own repaints do not keep the loop busy.
class IdleWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::DragLeave:
        case QEvent::WindowActivate:
        case QEvent::Show:
            AfxScheduleIdleUpdate();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

void EnsureWatcher() {
    static IdleWatcher* watcher = nullptr;
    if (watcher != nullptr || QCoreApplication::instance() == nullptr)
        return;
    watcher = new IdleWatcher(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(watcher);
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] {
        watcher = nullptr;
        g_bScheduled = false;
    });
}

} // namespace

void AfxScheduleIdleUpdate() {
    if (g_bScheduled || QCoreApplication::instance() == nullptr)
        return;
    // Called after the program's code has run for an event, outside any guard: a refresh that
    // cannot be scheduled for want of memory waits for the next event instead.
    try {
        QTimer::singleShot(0, QCoreApplication::instance(), &RunIdleUpdate);
        g_bScheduled = true;
    } catch (const std::bad_alloc&) {
    }
}

void AfxRegisterFrame(CFrameWnd* pFrame) {
    EnsureWatcher();
    Frames().push_back(pFrame);
    AfxScheduleIdleUpdate();
}

void AfxUnregisterFrame(CFrameWnd* pFrame) {
    auto& frames = Frames();
    frames.erase(std::remove(frames.begin(), frames.end(), pFrame), frames.end());
}
