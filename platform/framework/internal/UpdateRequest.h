#pragma once

class QWidget;

// After Qt ran out of memory while asking for a repaint of the widget: Qt may have noted a
// request that it could not send, and then sends none again, so one is sent here. Fails silently
// when even that cannot be had.
void AfxResendUpdateRequest(QWidget* widget) noexcept;
