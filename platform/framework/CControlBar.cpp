#include "platform/framework/CControlBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/internal/FrameworkWidgets.h"

#include <QMainWindow>
#include <QToolBar>

#include <algorithm>

CControlBar::~CControlBar() {
    if (m_pFrame != nullptr) {
        auto& bars = m_pFrame->m_bars;
        bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    }
}

QMainWindow* CControlBar::BeginCreate(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    auto* main =
        pParentWnd != nullptr ? qobject_cast<QMainWindow*>(pParentWnd->GetWidget()) : nullptr;
    if (main == nullptr || m_pWidget != nullptr)
        return nullptr;
    m_dwStyle = dwStyle;
    m_nID = nID;
    m_pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pFrame != nullptr)
        m_pFrame->m_bars.push_back(this);
    return main;
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    auto* toolBar = qobject_cast<QToolBar*>(m_pWidget);
    if (toolBar == nullptr)
        return;
    Qt::ToolBarAreas areas;
    if (dwDockStyle & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    toolBar->setAllowedAreas(areas);
    toolBar->setMovable(dwDockStyle != 0);
    toolBar->setFloatable(dwDockStyle != 0);
}

Qt::ToolBarArea AfxDockArea(DWORD dwAlign) {
    if (dwAlign & CBRS_ALIGN_TOP)
        return Qt::TopToolBarArea;
    if (dwAlign & CBRS_ALIGN_BOTTOM)
        return Qt::BottomToolBarArea;
    if (dwAlign & CBRS_ALIGN_LEFT)
        return Qt::LeftToolBarArea;
    if (dwAlign & CBRS_ALIGN_RIGHT)
        return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}
