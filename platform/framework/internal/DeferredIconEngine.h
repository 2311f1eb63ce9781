#pragma once

// Platform-internal: an icon made only when it is first shown or measured.

#include <QIcon>
#include <QIconEngine>

#include <functional>
#include <optional>

// Stands for the icon its function makes, and calls that function the first time the icon is
// painted or measured, never before: an icon that is never shown costs nothing.
class DeferredIconEngine : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    // Not null, unmade: the icons deferred are never empty.
    bool isNull() override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    const QIcon& Icon();

    std::function<QIcon()> m_make;
    std::optional<QIcon> m_icon;
};
