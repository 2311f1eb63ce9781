#pragma once

class CView;

// The view through which the command now being delivered is routed; null when no command is
// being routed.
CView* GetRoutingView();
