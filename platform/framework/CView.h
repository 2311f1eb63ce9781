#pragma once

#include "platform/Types.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/DeviceMapping.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/geometry/CPoint.h"
#include "platform/geometry/CRect.h"
#include "platform/geometry/CSize.h"

#include <cstdint>
#include <functional>
#include <memory>
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
    // Scrolls by the step while a drag the view accepts is held near an edge, the pointer still
    // at the client point; a view that draws feedback over its image takes it off before the
    // image moves and draws it again after, under the pointer.
    virtual void OnDragScroll(CPoint step, CPoint client);

    virtual void OnDraw(CDC* pDC) = 0;
    // Prepares a surface before drawing. A surface on the window's image, and any other when
    // not printing, maps units as the window shows them, at its zoom and scroll position; a
    // printer keeps one unit per dot.
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

    // Zoom and scroll position. The zoom is a step of a ladder of square roots of two, from
    // 1/64 (kZoomOutmost) through 1 (step 0) to 64 (kZoomInmost). The scroll position is the
    // point of the zoomed drawing, in the screen's units, at the window's top-left corner; it
    // stays within the drawing's extent, the window at the origin and where the window is.
    static constexpr int kZoomOutmost = -12;
    static constexpr int kZoomInmost = 12;
    int GetZoomStep() const { return m_nZoomStep; }
    double GetZoom() const;
    // Sets the zoom, keeping the unit under the client point (the window's units) where it is.
    void SetZoomStep(int step, CPoint anchor);
    // The largest zoom of the ladder at which the whole drawing fits the window, the drawing's
    // top-left corner at the window's.
    void ZoomToFit();
    // One unit per screen unit, the origin at the top-left corner.
    void ResetZoomAndScroll();
    std::int64_t GetScrollX() const { return m_scrollX; }
    std::int64_t GetScrollY() const { return m_scrollY; }
    // Moves what the window shows and draws only what comes into view.
    void ScrollTo(std::int64_t x, std::int64_t y);
    void ScrollBy(std::int64_t dx, std::int64_t dy) { ScrollTo(m_scrollX + dx, m_scrollY + dy); }
    // How the window's image shows units now.
    DeviceMapping GetDeviceMapping() const;
    // The unit under a point of the window, in the window's units.
    CPoint ClientToUnits(CPoint client) const;
    // The unit under the pointer while the pointer is over the window; false while it is
    // elsewhere. Follows scrolling and zoom under a pointer that stands still.
    bool GetPointerUnits(CPoint& point) const;
    // The window's size in its own units; its image covers all of it, the scroll bars lie over
    // it.
    CSize GetClientSize() const;
    // The part of the window the scroll bars leave uncovered.
    CSize GetViewportSize() const;
    // The part of the units the drawing covers, for the scroll bars; the base has none.
    virtual CRect GetDrawingExtent() const;
    // Whether the gesture under way follows the pointer past the window's edges: while it does
    // and the button is held, a pointer near or beyond an edge scrolls the window that way, and
    // the gesture hears a move at each step. The base has no such gesture.
    virtual bool WantsAutoScroll() const;
    // How far a pointer at the client point scrolls the window at each step of auto-scroll;
    // nothing away from the edges.
    CPoint AutoScrollStep(CPoint client) const;
    // Scrolls by the step, past the drawing's extent if need be: what the gesture drags there
    // becomes part of the drawing.
    void AutoScrollBy(CPoint step);
    // Whether this build checks every repaint of a part that started from the layer (below)
    // against the same part drawn without it, and aborts with a message when they differ: the
    // sanitizer build does, so that every test that paints also checks the layer.
    static bool IsLayerChecked();
    // How many times a layer was made afresh: one for a window that keeps its size, whatever
    // the edits, while the view keeps its layer in step with them.
    std::uint64_t LayersMade() const { return m_nLayersMade; }

    // A zoom step shows at once the window's picture scaled about the pointer, and has the
    // sharp picture drawn on other threads while the window waits for events; it replaces the
    // scaled one when done. A newer step, a scroll, an edit or a new size gives up a stale one.
    // Whether such a drawing is under way.
    bool IsDrawingInBackground() const { return m_pSharp != nullptr; }
    // Handles events until the sharp picture is in the window's image, or none is being drawn.
    void WaitForBackgroundDrawing();
    // Handles events until the drawing has run that many stretches of a few hundred curves;
    // false when it finished, or none is being drawn.
    bool LetBackgroundDrawingRun(int stretches);
    // A drawing of the layer on another thread (MakeLayerDrawing).
    using LayerDrawing = std::function<bool(CDC*, const std::function<bool()>& keepGoing)>;

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
    // Scrolling moved the layer with the window and brought the part into view, where the layer
    // holds nothing yet; the base gives the layer up.
    virtual void OnLayerExposed(const CRect& part);
    // Whether the surface paints this window's image, all of it or a part.
    bool IsRepaintingWindow(const CDC* pDC) const;

    // A drawing of the whole layer, for a surface with the window's mapping, that other threads
    // run: each on a surface of its own that shows a band of the layer's rows, all at the same
    // time, so it only reads. It passes the user-interface gate (CUiGate) while it runs, and
    // calls keepGoing every few curves: false means the drawing is given up, and it returns
    // false at once without touching anything more. Made on the user-interface thread; the base
    // has none, and a view without one repaints a zoom step at once.
    virtual LayerDrawing MakeLayerDrawing();
    // The layer that the last drawing made is now the window's, as it was when it was made.
    virtual void OnLayerDrawn();

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

    // Where the pointer was last seen over the window, in the window's units.
    bool m_bPointerOver = false;
    CPoint m_ptPointer;

    // The sharp picture being drawn on other threads, if any.
    struct SharpFrame;
    std::shared_ptr<SharpFrame> m_pSharp;

    // The zoom step and the scroll position.
    int m_nZoomStep = 0;
    std::int64_t m_scrollX = 0;
    std::int64_t m_scrollY = 0;
    // The last zoom step: the client point it was made about, the point of the drawing under
    // it in units, and where it left the zoom and the scroll position.
    struct ZoomAnchor {
        CPoint client;
        double unitX = 0;
        double unitY = 0;
        int step = 0;
        std::int64_t scrollX = 0;
        std::int64_t scrollY = 0;
        bool valid = false;
    };
    ZoomAnchor m_zoomAnchor;
    // The drawing's extent as last asked, and whether an edit may have changed it since.
    CRect m_extent;
    bool m_bExtentStale = true;
    bool m_bScrollBarsPending = false;
    // The scroll bars count in steps of 2^shift screen units, so that any extent fits their
    // range; they are being set, and their moves are not the user's.
    int m_nScrollShift = 0;
    bool m_bSettingBars = false;

    // The pixels of the window's image for the window's size.
    CRect ImagePixels(const DeviceScale& scale) const;
    // The zoom's fixed-point value, in DeviceScale's fixed point.
    std::int64_t ZoomFixed() const;
    // The scroll positions the window can take, in the screen's units: left, top, right,
    // bottom with right and bottom the last positions.
    // With the current position left out, the range holds only the drawing and the window at the
    // origin.
    void ScrollRange(std::int64_t range[4], CSize client, bool withCurrent = true) const;
    void RefreshExtent();
    // The user moved a scroll bar.
    void OnScrollBarMoved();
    // Scroll position and zoom took new values: everything is drawn again.
    void RedrawAll();
    // The mapping changed from the one given: the window shows its picture scaled to the new one
    // at once and has the sharp one drawn in the background, or repaints everything.
    void ShowScaled(const DeviceMapping& before);
    // Maps the window's pixels from one mapping to another, nearest pixel, white where the old
    // picture shows nothing.
    void ScaleImage(const DeviceMapping& before, const DeviceMapping& after);
    // Starts drawing the layer for the present mapping; false when it cannot.
    bool StartBackgroundDrawing();
    // Gives up the drawing under way and waits until its threads have stopped.
    void CancelBackgroundDrawing();
    void OnBackgroundDrawingDone(const std::shared_ptr<SharpFrame>& job);
    // Shows, hides and sets the scroll bars for the drawing's extent and the scroll position,
    // at once or at the next turn of the event loop.
    void UpdateScrollBars();
    void ScheduleScrollBars();
    // An edit changed the part (null: anything): the extent grows to hold it at once, and is
    // asked of the drawing again, to find whether it shrank, once the edits pause.
    void NoteExtentChange(const CRect* pPart);
    // Moves the pixels of the image and the layer with the scroll position and repaints what
    // came into view; a move as large as the window repaints everything.
    void MoveImage(std::int64_t dx, std::int64_t dy);
    // Moves to the position, held within the scroll range, or only within the far bounds.
    void MoveTo(std::int64_t x, std::int64_t y, bool withinRange);
    // The logical units that the pixels of the window's image show.
    CRect ClientUnits() const;
    void InvalidatePart(const CRect* pRect);
    void RepaintAllAfterFailure() noexcept;
    void AddInvalidPart(CRect part);
    void PaintPart(QImage* image, const CRect* pPart);
    void CheckLayerPart(const QImage& image, const CRect& part);
    void PrintPage(QPrinter* printer, CPrintInfo* pInfo);
};
