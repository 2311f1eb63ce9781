#pragma once

#include "platform/framework/CView.h"
#include "platform/ole/COleDropTarget.h"

#include <QByteArray>
#include <QWidget>

// A view over a plain widget that drags a record out when pressed and moved, and takes
// records dropped on it; it reports every step on standard output, one line each.
class HelperView : public CView {
public:
    HelperView(QByteArray record, UINT format);
    ~HelperView() override;

    QWidget* Widget() const { return m_pWidget; }
    void OnLButtonDown();
    void OnMouseMove();

    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave() override;
    bool OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    void OnDraw(CDC*) override {}

private:
    DROPEFFECT Answer(COleDataObject* pDataObject, DWORD dwKeyState) const;

    QByteArray m_record;
    UINT m_format;
    COleDropTarget m_dropTarget;
    bool m_bDragPending = false;
    bool m_bDragging = false;
};
