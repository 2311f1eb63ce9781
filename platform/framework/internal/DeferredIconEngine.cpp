#include "platform/framework/internal/DeferredIconEngine.h"

#include <QPixmap>

DeferredIconEngine::DeferredIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

const QIcon& DeferredIconEngine::Icon() {
    if (!m_icon)
        m_icon = m_make();
    return *m_icon;
}

void DeferredIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                               QIcon::State state) {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize DeferredIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return Icon().actualSize(size, mode, state);
}

QPixmap DeferredIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return Icon().pixmap(size, mode, state);
}

QPixmap DeferredIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                         qreal scale) {
    return Icon().pixmap(size, scale, mode, state);
}

QList<QSize> DeferredIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return Icon().availableSizes(mode, state);
}

QString DeferredIconEngine::iconName() {
    return Icon().name();
}

bool DeferredIconEngine::isNull() {
    return false;
}

QString DeferredIconEngine::key() const {
    return QStringLiteral("DeferredIconEngine");
}

QIconEngine* DeferredIconEngine::clone() const {
    auto* copy = new DeferredIconEngine(m_make);
    copy->m_icon = m_icon;
    return copy;
}
