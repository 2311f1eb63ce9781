#include "platform/framework/CWnd.h"

#include "platform/framework/internal/FrameworkWidgets.h"

#include <QCoreApplication>
#include <QWidget>

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    delete m_pWidget;
}

bool CWnd::PreCreateWindow(CREATESTRUCT&) {
    return true;
}

bool CWnd::ShowWindow(int nCmdShow) {
    if (m_pWidget == nullptr)
        return false;
    const bool wasVisible = m_pWidget->isVisible();
    switch (nCmdShow) {
    case SW_HIDE:
        m_pWidget->hide();
        break;
    case SW_SHOWMINIMIZED:
        m_pWidget->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        m_pWidget->showMaximized();
        break;
    default:
        m_pWidget->show();
        break;
    }
    return wasVisible;
}

void CWnd::UpdateWindow() {
    // Paints now what is invalid, and only that: Qt gathers a window's invalid parts and asks
    // for them to be painted in one event, which is sent here rather than waited for.
    if (m_pWidget != nullptr && m_pWidget->isVisible())
        QCoreApplication::sendPostedEvents(m_pWidget->window(), QEvent::UpdateRequest);
}

void CWnd::InvalidateRect(const CRect*, bool) {
    if (m_pWidget != nullptr)
        m_pWidget->update();
}

QString AfxQtWindowTitle(const std::string& text) {
    // Qt shows a doubled placeholder as one, literally.
    return QString::fromStdString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

std::string AfxTitleFromQt(const QString& title) {
    return QString(title).replace(QStringLiteral("[*][*]"), QStringLiteral("[*]")).toStdString();
}

void CWnd::SetWindowText(const std::string& text) {
    if (m_pWidget != nullptr)
        m_pWidget->setWindowTitle(AfxQtWindowTitle(text));
}

std::string CWnd::GetWindowText() const {
    return m_pWidget == nullptr ? std::string() : AfxTitleFromQt(m_pWidget->windowTitle());
}

bool CWnd::IsWindowVisible() const {
    return m_pWidget != nullptr && m_pWidget->isVisible();
}

void CWnd::GetClientRect(CRect* pRect) const {
    if (pRect == nullptr)
        return;
    *pRect = CRect(0, 0, m_pWidget ? m_pWidget->width() : 0, m_pWidget ? m_pWidget->height() : 0);
}

bool CWnd::DestroyWindow() {
    if (m_pWidget == nullptr)
        return false;
    delete m_pWidget;
    m_pWidget = nullptr;
    return true;
}

LRESULT CWnd::SendMessage(UINT nMessage, AFX_MSGARGS& args) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(nMessage);
    if (entry == nullptr)
        return Default();
    return entry->pfn(this, args);
}

LRESULT CWnd::Default() {
    // Qt does its own default handling of the events behind these messages.
    return 0;
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return 0;
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
