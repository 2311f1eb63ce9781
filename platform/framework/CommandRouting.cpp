#include "platform/framework/CommandRouting.h"

namespace {
CView* g_pRoutingView = nullptr;
}

CView* GetRoutingView() {
    return g_pRoutingView;
}

CRoutingScope::CRoutingScope(CView* pView) : m_pPrevious(g_pRoutingView) {
    g_pRoutingView = pView;
}

CRoutingScope::~CRoutingScope() {
    g_pRoutingView = m_pPrevious;
}
