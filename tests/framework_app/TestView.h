#pragma once

#include "platform/framework/CView.h"

#include <string>
#include <vector>

class CTestDoc;

// Draws one line per value and records the mouse messages it gets.
class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    CTestDoc* GetDocument() const;
    void OnDraw(CDC* pDC) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    bool m_bCreated = false;
    // Set by tests to make the next view refuse its creation.
    static bool s_bFailCreate;

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnToolLine();
    void OnToolDot();
    void OnUpdateToolLine(CCmdUI* pCmdUI);
    void OnUpdateToolDot(CCmdUI* pCmdUI);
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnExhaust();
    void OnLocked();
    void OnUpdateLocked(CCmdUI* pCmdUI);

    std::vector<std::string> m_events;
    int m_nTool = 1;
    bool m_bCanCopy = false;
    int m_nCopies = 0;
    int m_nLocked = 0;
    int m_nDraws = 0;
    bool m_bRecordMoves = false;

    DECLARE_MESSAGE_MAP()
};
