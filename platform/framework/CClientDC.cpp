#include "platform/framework/CClientDC.h"

#include "platform/framework/CView.h"

#include <QWidget>

CClientDC::CClientDC(CWnd* pWnd) : m_pWnd(pWnd) {
    if (auto* view = dynamic_cast<CView*>(pWnd)) {
        view->UpdateBackingImage();
        AttachImage(view->GetBackingImage());
    }
}

CClientDC::~CClientDC() {
    if (m_pWnd != nullptr && m_pWnd->GetWidget() != nullptr)
        m_pWnd->GetWidget()->update();
}
