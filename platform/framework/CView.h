#pragma once

#include "platform/Types.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/geometry/CPoint.h"
#include "platform/geometry/CRect.h"

#include <cstdint>
#include <functional>
#include <vector>

class CDC;
class CDocument;
class CFrameWnd;
class COleDataObject;
class QImage;
class QPrinter;
struct CPrintInfo;

// An update hint that names the part of the views that changed: pHint points to a CRect in
// logical units, and the base OnUpdate repaints that part alone (an empty rectangle, nothing).
// Any other hint repaints the whole client area.
inline constexpr std::intptr_t HINT_UPDATE_RECT = 0x7E51;

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

    // Called by the document's UpdateAllViews; the base invalidates the part that a
    // HINT_UPDATE_RECT names, and the whole client area for any other hint.
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

    // The part (null: the whole client area) is erased and repainted through OnDraw on the next
    // paint, with a surface whose clipping box is that part; the rest of the window keeps its
    // pixels. Right and bottom edges lie outside; an empty part repaints nothing.
    void InvalidateRect(const CRect* pRect, bool bErase = true) override;

    // Shows again the pixels of the window's image that drawing within the logical part can
    // have changed, on the next paint, without repainting them.
    void ShowPart(const CRect& part);

    // Repaints into the window's image whatever is invalid, without showing it yet: drawing
    // outside painting (an inverted outline) then lands on the picture that the window will
    // show, and no later repaint of an older invalid part wipes it.
    void UpdateBackingImage();

    // Command handlers the program's table maps to the print commands.
    void OnFilePrint();
    void OnFilePrintPreview();

    // The image the window shows, one pixel for each pixel of the screen; a CClientDC draws on
    // it outside painting.
    QImage* GetBackingImage();
    // How the screen the window is on shows logical units; ToDevice gives the pixels of the
    // image that show a logical rectangle.
    DeviceScale GetDeviceScale() const;

    // Whether this build checks every repaint of a part that started from the layer (below)
    // against the same part drawn without it, and aborts with a message when they differ: the
    // sanitizer build does, so that every test that paints also checks the layer.
    static bool IsLayerChecked();
    // How many times a layer was made afresh: one for a window that keeps its size, whatever
    // the edits, while the view keeps its layer in step with them.
    std::uint64_t LayersMade() const { return m_nLayersMade; }

    bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe = false) override;

    DECLARE_MESSAGE_MAP()

protected:
    friend class CDocument;
    friend class CViewWidget;
    CDocument* m_pDocument = nullptr;
    CFrameWnd* m_pFrame = nullptr;

    // The layer: a second picture of the window, for a drawing of which most edits change only
    // a small part. The view keeps in it what those edits leave alone and starts the repaint
    // of a part from it, so that the repaint costs the same in a drawing of any size. The
    // framework only keeps its size and pixels those of the window; what it shows is the
    // view's to keep true.
    //
    // Whether there is a layer the size of the window's image; a window that changed size or
    // screen has none.
    bool IsLayerKept() const;
    void DropLayer();
    // Draws on the layer through a surface clipped to the part (null: the whole layer), with
    // the window's mapping of units to pixels. A layer that is not kept is first made, white;
    // false, drawing nothing, when there is no window image yet or no memory for a layer.
    bool DrawOnLayer(const CRect* pPart, const std::function<void(CDC*)>& draw);
    // Whether the surface paints this window, whole or a part of it: what the view draws on
    // the window outside painting, such as a drag's outline, it draws again there.
    bool IsWindowSurface(const CDC* pDC) const;
    // Whether the surface repaints a part of this window, rather than all of it or another
    // device: only then does starting from the layer pay.
    bool IsRepaintingPart(const CDC* pDC) const;
    // Copies the layer within the surface's clipping box onto a surface of this window; false,
    // copying nothing, when there is no layer or the surface paints something else.
    bool ShowLayer(CDC* pDC) const;

private:
    // The longest side of the window's image, which no screen comes near.
    static constexpr std::int64_t kMaxBackingSide = 16384;

    // The whole client area is invalid.
    bool m_bRedrawPending = true;
    // Invalid parts in logical units, when not the whole area; a few, merged as they come.
    std::vector<CRect> m_invalidParts;
    QImage* m_pImage = nullptr;
    QImage* m_pLayer = nullptr;
    bool m_bLayerKept = false;
    std::uint64_t m_nLayersMade = 0;
    // The copy of the window's image that the check paints afresh, while it does.
    const QImage* m_pChecked = nullptr;
    // The repaint under way started from the layer.
    mutable bool m_bLayerShown = false;

    // The pixels of the window's image for the window's size.
    CRect ImagePixels(const DeviceScale& scale) const;
    // The logical units that the pixels of the window's image show.
    CRect ClientUnits() const;
    void InvalidatePart(const CRect* pRect);
    void RepaintAllAfterFailure() noexcept;
    void AddInvalidPart(CRect part);
    void PaintPart(QImage* image, const CRect* pPart);
    void CheckLayerPart(const QImage& image, const CRect& part);
    void PrintPage(QPrinter* printer, CPrintInfo* pInfo);
};
