#include "platform/ole/COleDataSource.h"

#include "platform/ole/DragInputGuard.h"
#include "platform/ole/DragKeys.h"
#include "platform/ole/DragStartWatcher.h"
#include "platform/ole/DropTargetFilter.h"
#include "platform/ole/SourceMimeData.h"
#include "platform/ole/XdndFinishWatcher.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QWidget>

#include <bit>
#include <utility>

namespace {

COleDataSource::DragHook& Hook() {
    static COleDataSource::DragHook hook;
    return hook;
}

// How long a drop into another program may take before this side gives up on its answer and
// keeps its data.
constexpr int kForeignDropTimeoutMs = 5000;

DROPEFFECT EffectOf(Qt::DropAction action) {
    switch (action) {
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    case Qt::MoveAction:
    case Qt::TargetMoveAction:
        return DROPEFFECT_MOVE;
    default:
        return DROPEFFECT_NONE;
    }
}

} // namespace

void COleDataSource::SetDragHook(DragHook hook) {
    Hook() = std::move(hook);
}

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT dwEffects, const CRect*, void*) {
    // One drag at a time: a drag is never started from inside another one's event loops.
    if (DragInputGuard::IsActive() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return DROPEFFECT_NONE;
    const DragInputGuard guard;
    if (Hook())
        return Hook()(*this) & dwEffects;
    Qt::DropActions actions;
    if (dwEffects & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (dwEffects & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    const Qt::MouseButtons held = QGuiApplication::mouseButtons();
    if (!actions || held == Qt::NoButton)
        return DROPEFFECT_NONE;
    // The drag belongs to the button that pressed on the data: the left one, unless the
    // program started it from another.
    const Qt::MouseButton button =
        (held & Qt::LeftButton) ? Qt::LeftButton
                                : Qt::MouseButton(1u << std::countr_zero(unsigned(held.toInt())));

    const QPoint start = QCursor::pos();
    DragStartWatcher watcher(start, button, guard);
    if (!watcher.Wait())
        return DROPEFFECT_NONE;

    actions = DragKeys::Offered(actions, QGuiApplication::queryKeyboardModifiers(),
                                DragKeys::KeptFromTarget());

    QObject* origin = watcher.LastReceiver();
    if (!origin)
        origin = QApplication::widgetAt(start);
    if (!origin)
        origin = QCoreApplication::instance();
    auto* mime = new QMimeData;
    FillMimeData(*mime, *this);
    // Qt owns the drag once it runs: on X11 the target fetches the data after exec has
    // returned, so the drag and its copy of the data stay alive until the target is done.
    auto* drag = new QDrag(origin);
    drag->setMimeData(mime);
    const Qt::DropAction preferred = (actions & Qt::MoveAction) ? Qt::MoveAction : Qt::CopyAction;
    const unsigned dropsBefore = DropTargetFilter::DropCount();
    XdndFinishWatcher finish;
    DROPEFFECT effect = EffectOf(drag->exec(actions, preferred));
    // A drop into another program: its own word on whether it took the data decides, so that a
    // move never deletes what the other side failed to take.
    if (effect != DROPEFFECT_NONE && finish.IsActive() &&
        DropTargetFilter::DropCount() == dropsBefore)
        effect = finish.WaitForOutcome(kForeignDropTimeoutMs);
    return effect & dwEffects;
}
