#include "platform/ole/AfxOleInit.h"

#include "platform/ole/ClipboardService.h"

namespace {
bool s_failForTesting = false;
}

bool AfxOleInit() {
    if (s_failForTesting)
        return false;
    return ClipboardService::Start();
}

void SetOleInitFailureForTesting(bool fail) {
    s_failForTesting = fail;
}
