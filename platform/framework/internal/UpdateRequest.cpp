#include "platform/framework/internal/UpdateRequest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <new>

void AfxResendUpdateRequest(QWidget* widget) noexcept {
    if (widget == nullptr)
        return;
    try {
        QCoreApplication::postEvent(widget->window(), new QEvent(QEvent::UpdateRequest));
    } catch (const std::bad_alloc&) {
    }
}
