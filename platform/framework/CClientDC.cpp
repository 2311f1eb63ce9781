#include "platform/framework/CClientDC.h"

#include "platform/framework/CView.h"
#include "platform/framework/internal/UpdateRequest.h"

#include <QWidget>

#include <new>

CClientDC::CClientDC(CWnd* pWnd) : m_pWnd(pWnd) {
    if (auto* view = dynamic_cast<CView*>(pWnd)) {
        view->UpdateBackingImage();
        AttachImage(view->GetBackingImage());
        AccumulateBounds();
    }
}

CClientDC::~CClientDC() {
    // Only what was drawn is shown again.
    const CRect drawn = GetBoundsRect();
    if (auto* view = dynamic_cast<CView*>(m_pWnd)) {
        for (std::size_t i = 0; i < GetBoundsPartCount(); ++i)
            view->ShowPart(GetBoundsPart(i));
        return;
    }
    QWidget* widget = m_pWnd != nullptr ? m_pWnd->GetWidget() : nullptr;
    if (widget == nullptr || drawn.IsRectEmpty())
        return;
    const CRect client(0, 0, widget->width(), widget->height());
    CRect shown;
    if (!IntersectRect(&shown, &drawn, &client))
        return;
    try {
        widget->update(
            QRect(QPoint(shown.left, shown.top), QPoint(shown.right - 1, shown.bottom - 1)));
    } catch (const std::bad_alloc&) {
        // What was drawn is in the window's image already, and shows at its next paint.
        AfxResendUpdateRequest(widget);
    }
}
