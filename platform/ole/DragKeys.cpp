#include "platform/ole/DragKeys.h"

#include <QGuiApplication>

bool DragKeys::KeptFromTarget() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Qt::DropActions DragKeys::Offered(Qt::DropActions allowed, Qt::KeyboardModifiers held,
                                  bool keptFromTarget) {
    if (keptFromTarget && (held & Qt::ControlModifier) && (allowed & Qt::CopyAction))
        return Qt::CopyAction;
    return allowed;
}

Qt::KeyboardModifiers DragKeys::AtTarget(Qt::KeyboardModifiers seen, Qt::DropActions offered,
                                         bool keptFromTarget, bool fromThisProgram) {
    if (!keptFromTarget)
        return seen;
    if (!fromThisProgram)
        seen = Qt::NoModifier;
    if (offered == Qt::CopyAction)
        return seen | Qt::ControlModifier;
    return seen;
}
