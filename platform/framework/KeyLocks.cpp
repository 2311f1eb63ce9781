#include "platform/framework/internal/KeyLocks.h"

#include "platform/framework/AfxRes.h"

bool AfxIsKeyLockOn(UINT) {
    // Qt reports no lock state; the X11 query arrives with the X11 link.
    return false;
}
