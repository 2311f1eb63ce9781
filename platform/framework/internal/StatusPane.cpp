#include "platform/framework/internal/StatusPane.h"

#include <QPainter>

CStatusPane::CStatusPane(const QString& widest, QWidget* parent)
    : QFrame(parent), m_nTextWidth(WidthOf(widest)) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setFixedWidth(sizeHint().width());
    // The pane paints all of itself: the bar beneath, with the message pane's text, is not
    // painted again at each change.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CStatusPane::WidthOf(const QString& text) const {
    // As the key panes: the text and a little room on either side.
    return fontMetrics().horizontalAdvance(text) + 8;
}

QSize CStatusPane::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {m_nTextWidth + frame, fontMetrics().height() + frame};
}

void CStatusPane::SetText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    if (const int width = WidthOf(text); width > m_nTextWidth) {
        m_nTextWidth = width;
        setFixedWidth(sizeHint().width());
    }
    update(contentsRect());
}

void CStatusPane::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
    }
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignCenter, m_text);
}
