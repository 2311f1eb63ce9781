#pragma once

#include <functional>

// Runs program code on behalf of a Qt event (mouse, paint, drag and drop, command, idle
// update). A framework exception or an exhausted heap never crosses Qt's event loop: it is
// reported to the user here, once, and the program goes on. Returns false when it failed.
bool AfxCallGuarded(const std::function<void()>& call);
