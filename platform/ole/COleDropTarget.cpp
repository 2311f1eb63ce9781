#include "platform/ole/COleDropTarget.h"

#include "platform/framework/CView.h"
#include "platform/ole/DropTargetFilter.h"

COleDropTarget::~COleDropTarget() {
    Revoke();
}

bool COleDropTarget::Register(CWnd* pWnd) {
    Revoke();
    if (!pWnd || !pWnd->GetWidget())
        return false;
    m_pFilter = new DropTargetFilter(this, pWnd);
    return true;
}

void COleDropTarget::Revoke() {
    delete m_pFilter;
    m_pFilter = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                       CPoint point) {
    auto* view = dynamic_cast<CView*>(pWnd);
    // The view hears where in its drawing the pointer is, at any zoom and scroll position.
    return view ? view->OnDragEnter(pDataObject, dwKeyState, view->ClientToUnits(point))
                : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                      CPoint point) {
    auto* view = dynamic_cast<CView*>(pWnd);
    return view ? view->OnDragOver(pDataObject, dwKeyState, view->ClientToUnits(point))
                : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd) {
    if (auto* view = dynamic_cast<CView*>(pWnd))
        view->OnDragLeave();
}

bool COleDropTarget::OnDragScroll(CWnd* pWnd, CPoint point) {
    auto* view = dynamic_cast<CView*>(pWnd);
    if (view == nullptr)
        return false;
    const CPoint step = view->AutoScrollStep(point);
    if (step == CPoint())
        return false;
    const std::int64_t x = view->GetScrollX();
    const std::int64_t y = view->GetScrollY();
    view->OnDragScroll(step, point);
    // At the ends of the units a drawing can hold the window goes no further, and the drag
    // stops asking it to.
    return view->GetScrollX() != x || view->GetScrollY() != y;
}

bool COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                            CPoint point) {
    auto* view = dynamic_cast<CView*>(pWnd);
    return view && view->OnDrop(pDataObject, dropEffect, view->ClientToUnits(point));
}
