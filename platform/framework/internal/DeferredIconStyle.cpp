#include "platform/framework/internal/DeferredIconStyle.h"

#include "platform/framework/internal/DeferredIconEngine.h"

#include <QGuiApplication>
#include <QPointer>
#include <QStyleOption>

QIcon DeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (standardIcon != SP_ToolBarHorizontalExtensionButton &&
        standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    // Only the direction of the option matters to these icons; the widget may be gone by the
    // time the icon is made.
    const Qt::LayoutDirection direction =
        option != nullptr ? option->direction : QGuiApplication::layoutDirection();
    const QPointer<const QStyle> base(baseStyle());
    return QIcon(new DeferredIconEngine([base, standardIcon, direction] {
        if (base == nullptr)
            return QIcon();
        QStyleOption made;
        made.direction = direction;
        return base->standardIcon(standardIcon, &made);
    }));
}
