#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "platform/framework/CClientDC.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/OleConstants.h"

void CSwoop2View::DragSelectedCurve() {}

DROPEFFECT CSwoop2View::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView::OnDragEnter(pDataObject, dwKeyState, point);
    return DROPEFFECT_NONE;
}

DROPEFFECT CSwoop2View::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView::OnDragOver(pDataObject, dwKeyState, point);
    return DROPEFFECT_NONE;
}

void CSwoop2View::OnDragLeave() {
    CView::OnDragLeave();
}

bool CSwoop2View::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    CView::OnDrop(pDataObject, dropEffect, point);
    return false;
}

void CSwoop2View::DrawFeedback(CPoint) {}

std::unique_ptr<CCurve> CSwoop2View::DecodeDraggedCurve(COleDataObject*) const {
    return nullptr;
}
