#pragma once

#include "platform/Types.h"

// Whether the lock of a key-state pane (ID_INDICATOR_CAPS, _NUM, _SCRL) is on. False when
// the platform does not report it.
bool AfxIsKeyLockOn(UINT nIndicatorID);
