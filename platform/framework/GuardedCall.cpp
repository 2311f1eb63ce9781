#include "platform/framework/GuardedCall.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CException.h"

#include <new>

const char* AfxGuardedFailureText() {
    try {
        throw;
    } catch (const CMemoryException&) {
        return "Out of memory.";
    } catch (const std::bad_alloc&) {
        return "Out of memory.";
    } catch (const CException&) {
        return "An unsupported operation was attempted.";
    }
}

void AfxReportGuardedFailure(const char* message) noexcept {
    try {
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on all the same.
    }
}
