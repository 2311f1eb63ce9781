#include "platform/framework/internal/KeyLocks.h"

#include "platform/framework/AfxRes.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#if SWOOP2_HAVE_X11
#include <X11/XKBlib.h>
#endif

bool AfxIsKeyLockOn(UINT nIndicatorID) {
#if SWOOP2_HAVE_X11
    // Qt reports no lock state; on X11 the keyboard extension names the indicators.
    auto* x11 =
        qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr)
        return false;
    const char* name = nullptr;
    switch (nIndicatorID) {
    case ID_INDICATOR_CAPS:
        name = "Caps Lock";
        break;
    case ID_INDICATOR_NUM:
        name = "Num Lock";
        break;
    case ID_INDICATOR_SCRL:
        name = "Scroll Lock";
        break;
    default:
        return false;
    }
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on == True;
#else
    (void)nIndicatorID;
    return false;
#endif
}
