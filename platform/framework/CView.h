#pragma once

#include "platform/Types.h"
#include "platform/framework/CWnd.h"
#include "platform/geometry/CPoint.h"

#include <cstdint>

class CDC;
class CDocument;
class COleDataObject;

// A view of a document. The drop-target operations are called by a COleDropTarget registered
// on the view; the base implementations accept nothing.
class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }

    // Called by the document's UpdateAllViews; the base invalidates the whole client area.
    virtual void OnUpdate(CView* pSender, std::intptr_t lHint, void* pHint);

    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual bool OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

    virtual void OnDraw(CDC* pDC) = 0;

protected:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
