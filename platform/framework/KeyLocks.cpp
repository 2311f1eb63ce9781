#include "platform/framework/internal/KeyLocks.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/internal/WaylandKeyLocks.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#if SWOOP2_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace {

// X11 and the keymaps of Wayland compositors name the keyboard's lights alike.
const char* LightOf(UINT nIndicatorID) {
    switch (nIndicatorID) {
    case ID_INDICATOR_CAPS:
        return "Caps Lock";
    case ID_INDICATOR_NUM:
        return "Num Lock";
    case ID_INDICATOR_SCRL:
        return "Scroll Lock";
    default:
        return nullptr;
    }
}

} // namespace

bool AfxIsKeyLockOn(UINT nIndicatorID) {
    const char* name = LightOf(nIndicatorID);
    if (name == nullptr)
        return false;
    if (WaylandKeyLocks* wayland = WaylandKeyLocks::Instance())
        return wayland->IsLit(name);
#if SWOOP2_HAVE_X11
    // Qt reports no lock state; on X11 the keyboard extension names the indicators.
    auto* x11 =
        qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr)
        return false;
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on == True;
#else
    return false;
#endif
}
