#pragma once

// Why a guarded call failed, in the words the user is shown; called while its exception is
// being handled. An exception that is not the framework's, nor an exhausted heap, goes on.
const char* AfxGuardedFailureText();
// Shows the failure; a box that cannot be shown for want of memory is left out.
void AfxReportGuardedFailure(const char* message) noexcept;

// Runs program code on behalf of a Qt event (mouse, paint, drag and drop, command, idle
// update). A framework exception or an exhausted heap never crosses Qt's event loop: it is
// reported to the user here, once, and the program goes on. Returns false when it failed.
// The call is taken as it is, with no copy that could itself run out of memory.
template <class Call> bool AfxCallGuarded(Call&& call) {
    const char* message = nullptr;
    try {
        call();
        return true;
    } catch (...) {
        message = AfxGuardedFailureText();
    }
    // The box is shown outside the handler so that no exception state is held while it runs.
    AfxReportGuardedFailure(message);
    return false;
}
