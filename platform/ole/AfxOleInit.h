#pragma once

// Starts the data-transfer service (clipboard, and drag and drop) for the running
// application. Needs a QGuiApplication; fails when the platform offers no clipboard. Calling it
// again once it has succeeded does nothing and succeeds.
bool AfxOleInit();

// Test seam: while set, AfxOleInit fails as on a platform without a clipboard, so that the
// program's reaction to the failure can be tested. Never set outside tests.
void SetOleInitFailureForTesting(bool fail);
