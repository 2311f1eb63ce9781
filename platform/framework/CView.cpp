#include "platform/framework/CView.h"

void CView::OnUpdate(CView*, std::intptr_t, void*) {}

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint) {
    return 0;
}
DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint) {
    return 0;
}
void CView::OnDragLeave() {}
bool CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint) {
    return false;
}
