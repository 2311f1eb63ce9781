#include "platform/framework/CommandRouting.h"

// Command routing arrives with the application framework; until then no command is routed.
CView* GetRoutingView() {
    return nullptr;
}
