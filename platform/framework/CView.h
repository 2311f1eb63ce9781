#pragma once

#include "platform/Types.h"
#include "platform/framework/CWnd.h"
#include "platform/geometry/CPoint.h"

class CDC;
class COleDataObject;

// A view of a document. The drop-target operations are called by a COleDropTarget registered
// on the view; the base implementations accept nothing.
class CView : public CWnd {
public:
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual bool OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

    virtual void OnDraw(CDC* pDC) = 0;
};
