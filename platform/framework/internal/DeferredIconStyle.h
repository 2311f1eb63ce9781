#pragma once

// Platform-internal: the desktop's style, with the icons that start-up need not read.

#include <QProxyStyle>

// The application's style, whichever the desktop or the command line chose, except that the
// icons of the toolbars' and the menu bar's overflow buttons are read from their image files
// only when an overflow button first shows. Every toolbar and menu bar asks for them when it
// is made, and reading them loads every image plugin Qt has: the window's first paint would
// wait for images that a window wide enough for its bars never shows.
class DeferredIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
