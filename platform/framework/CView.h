#pragma once

#include "platform/Types.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/geometry/CPoint.h"

#include <cstdint>

class CDC;
class CDocument;
class CFrameWnd;
class COleDataObject;
class QImage;
class QPrinter;
struct CPrintInfo;

// A view of a document. The drop-target operations are called by a COleDropTarget registered
// on the view; the base implementations accept nothing.
class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // Makes the view's window inside the frame's client area and sends it WM_CREATE; false
    // when PreCreateWindow or the WM_CREATE handler refused.
    bool Create(CFrameWnd* pFrame, CDocument* pDocument, UINT nID);

    // Called by the document's UpdateAllViews; the base invalidates the whole client area.
    virtual void OnUpdate(CView* pSender, std::intptr_t lHint, void* pHint);
    // Called once the view shows a new or opened document; the base calls OnUpdate.
    virtual void OnInitialUpdate();

    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual bool OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

    virtual void OnDraw(CDC* pDC) = 0;
    // Prepares a surface before drawing; the base keeps the default mapping, one unit per
    // device pixel or printer dot.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    // Printing. OnPreparePrinting returns false to cancel the job; the base asks the user
    // through DoPreparePrinting.
    virtual bool OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Shows the print dialog (none for a preview); false when the user cancelled it.
    bool DoPreparePrinting(CPrintInfo* pInfo);

    // The window is repainted through OnDraw on its next paint. Any rectangle means the whole
    // client area: the program never repaints a part.
    void InvalidateRect(const CRect* pRect, bool bErase = true) override;

    // Command handlers the program's table maps to the print commands.
    void OnFilePrint();
    void OnFilePrintPreview();

    // The image the window shows, one pixel for each pixel of the screen; a CClientDC draws on
    // it outside painting.
    QImage* GetBackingImage();
    // How the screen the window is on shows logical units; ToDevice gives the pixels of the
    // image that show a logical rectangle.
    DeviceScale GetDeviceScale() const;

    bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe = false) override;

    DECLARE_MESSAGE_MAP()

protected:
    friend class CDocument;
    friend class CViewWidget;
    CDocument* m_pDocument = nullptr;
    CFrameWnd* m_pFrame = nullptr;

private:
    // The longest side of the window's image, which no screen comes near.
    static constexpr std::int64_t kMaxBackingSide = 16384;

    bool m_bRedrawPending = true;
    QImage* m_pImage = nullptr;

    void PaintBacking();
    void PrintPage(QPrinter* printer, CPrintInfo* pInfo);
};
