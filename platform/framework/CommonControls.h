#pragma once

#include "platform/Types.h"

// The desktop's common controls. Qt's widgets need no initialisation: the call is kept so that
// start-up reads as the program describes it, and always succeeds.
struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};

constexpr DWORD ICC_WIN95_CLASSES = 0xFF;

inline bool InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    return picce != nullptr;
}
