#pragma once

class CView;

// The view through which the command now being delivered is routed; null when no command is
// being routed.
CView* GetRoutingView();

// Marks the view through which commands and command-state requests are routed while it
// lives; scopes nest.
class CRoutingScope {
public:
    explicit CRoutingScope(CView* pView);
    ~CRoutingScope();
    CRoutingScope(const CRoutingScope&) = delete;
    CRoutingScope& operator=(const CRoutingScope&) = delete;

private:
    CView* m_pPrevious;
};
