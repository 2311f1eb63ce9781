#include "platform/ole/COleDataSource.h"

#include "platform/ole/DragStartWatcher.h"
#include "platform/ole/SourceMimeData.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QWidget>

namespace {

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

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT dwEffects, const CRect*, void*) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return DROPEFFECT_NONE;
    Qt::DropActions actions;
    if (dwEffects & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (dwEffects & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    if (!actions || QGuiApplication::mouseButtons() == Qt::NoButton)
        return DROPEFFECT_NONE;

    const QPoint start = QCursor::pos();
    DragStartWatcher watcher(start);
    if (!watcher.Wait())
        return DROPEFFECT_NONE;

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
    return EffectOf(drag->exec(actions, preferred)) & dwEffects;
}
