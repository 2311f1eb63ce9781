#include "platform/framework/AfxDesktopEntry.h"

#include <QGuiApplication>

void AfxSetDesktopFileName(const char* name) {
    QGuiApplication::setDesktopFileName(QString::fromUtf8(name != nullptr ? name : ""));
}
