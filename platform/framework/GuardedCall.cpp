#include "platform/framework/GuardedCall.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CException.h"

#include <new>

bool AfxCallGuarded(const std::function<void()>& call) {
    const char* message = nullptr;
    try {
        call();
        return true;
    } catch (const CMemoryException&) {
        message = "Out of memory.";
    } catch (const std::bad_alloc&) {
        message = "Out of memory.";
    } catch (const CException&) {
        message = "An unsupported operation was attempted.";
    }
    // The box is shown outside the handler so that no exception state is held while it runs.
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return false;
}
