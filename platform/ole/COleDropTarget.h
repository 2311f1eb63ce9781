#pragma once

#include "platform/Types.h"
#include "platform/geometry/CPoint.h"
#include "platform/ole/OleConstants.h"

class CWnd;
class COleDataObject;
class DropTargetFilter;

// Makes a window accept drops. While registered, drags over the window call the handlers
// below on the user-interface thread (nested inside DoDragDrop when the drag started in this
// process); the effect they return goes back to the drag's source. Points are client
// coordinates of the window in logical pixels; the key state carries MK_CONTROL, MK_SHIFT and
// the mouse buttons. The default handlers forward to the window's CView operations when the
// window is a view, and accept nothing otherwise.
class COleDropTarget {
public:
    COleDropTarget() = default;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;
    virtual ~COleDropTarget();

    // False when the window has no widget yet. A second registration moves the target.
    bool Register(CWnd* pWnd);
    void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                   CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                  CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // Called again and again while an accepted drag stands over the window, even with the
    // pointer still; returns whether the window scrolled, which the base does for a view with the
    // pointer near an edge.
    virtual bool OnDragScroll(CWnd* pWnd, CPoint point);
    virtual bool OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                        CPoint point);

private:
    DropTargetFilter* m_pFilter = nullptr;
};
