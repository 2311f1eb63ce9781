#include "platform/framework/CControlBar.h"

#include "platform/framework/CFrameWnd.h"

#include <QToolBar>

#include <algorithm>

CControlBar::~CControlBar() {
    if (m_pFrame != nullptr) {
        auto& bars = m_pFrame->m_bars;
        bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    }
}

void CControlBar::AttachToFrame(CWnd* pParent) {
    m_pFrame = dynamic_cast<CFrameWnd*>(pParent);
    if (m_pFrame != nullptr)
        m_pFrame->m_bars.push_back(this);
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
