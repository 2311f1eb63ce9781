#include "platform/framework/CView.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/GuardedCall.h"
#include "platform/framework/internal/FrameworkWidgets.h"
#include "platform/framework/internal/UpdateRequest.h"
#include "platform/gdi/CDC.h"
#include "platform/ole/OleConstants.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <new>

BEGIN_MESSAGE_MAP(CView, CWnd)
END_MESSAGE_MAP()

CView::~CView() {
    CancelBackgroundDrawing();
    if (auto* widget = dynamic_cast<CViewWidget*>(m_pWidget))
        widget->Detach();
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
    if (m_pFrame != nullptr && m_pFrame->GetActiveView() == this)
        m_pFrame->SetActiveView(nullptr);
    delete m_pImage;
    delete m_pLayer;
}

bool CView::Create(CFrameWnd* pFrame, CDocument* pDocument, UINT nID) {
    CREATESTRUCT cs;
    cs.style = WS_CHILD | WS_VISIBLE;
    if (!PreCreateWindow(cs))
        return false;
    m_pFrame = pFrame;
    m_nID = nID;
    auto* main = static_cast<QMainWindow*>(pFrame->GetWidget());
    m_pWidget = new CViewWidget(this, main);
    main->setCentralWidget(m_pWidget);
    if (pDocument != nullptr) {
        pDocument->AddView(this);
        m_pDocument = pDocument;
    }
    AFX_MSGARGS args;
    args.lpCreateStruct = &cs;
    return SendMessage(WM_CREATE, args) != -1;
}

void CView::OnUpdate(CView*, std::intptr_t lHint, void* pHint) {
    const CRect* part = lHint == HINT_UPDATE_RECT ? static_cast<const CRect*>(pHint) : nullptr;
    // The drawing of a zoom step's sharp picture read the drawing as it was: an edit gives it up,
    // and the window is repainted as it is now.
    if (IsDrawingInBackground() && (part == nullptr || !part->IsRectEmpty()))
        RedrawAll();
    InvalidateRect(part, true);
    // The scroll bars follow the drawing at the next turn of the event loop. Without the memory
    // to ask for that turn, they wait for the next edit, and the failure goes on to be told:
    // the repaint is asked for first.
    try {
        NoteExtentChange(part);
    } catch (const std::bad_alloc&) {
        m_bExtentStale = true;
        m_bScrollBarsPending = false;
        throw;
    }
}

void CView::OnInitialUpdate() {
    // A new or opened drawing is shown from its origin at one unit per screen unit.
    ResetZoomAndScroll();
    OnUpdate(nullptr, 0, nullptr);
}

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint) {
    return 0;
}
DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint) {
    return 0;
}
void CView::OnDragLeave() {}
void CView::OnDragScroll(CPoint step, CPoint) {
    AutoScrollBy(step);
}
bool CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint) {
    return false;
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    if (pDC == nullptr || pInfo != nullptr)
        return;
    pDC->SetMapping(GetDeviceMapping());
}

void CView::InvalidateRect(const CRect* pRect, bool) {
    try {
        InvalidatePart(pRect);
    } catch (const std::bad_alloc&) {
        RepaintAllAfterFailure();
    }
}

void CView::RepaintAllAfterFailure() noexcept {
    // A part that cannot be noted or shown for want of memory is not lost: all of the window
    // is repainted at its next paint instead.
    m_bRedrawPending = true;
    m_invalidParts.clear();
    if (m_pWidget == nullptr)
        return;
    try {
        m_pWidget->update();
    } catch (const std::bad_alloc&) {
    }
    AfxResendUpdateRequest(m_pWidget);
}

void CView::InvalidatePart(const CRect* pRect) {
    // Repeated invalidations before the next paint come to one repaint: Qt merges the
    // updates, and the parts merge here.
    if (pRect == nullptr) {
        m_bRedrawPending = true;
        m_invalidParts.clear();
        if (m_pWidget != nullptr)
            m_pWidget->update();
        return;
    }
    if (m_bRedrawPending || m_pWidget == nullptr)
        return;
    const CRect client = ClientUnits();
    CRect part;
    if (!IntersectRect(&part, pRect, &client))
        return;
    AddInvalidPart(part);
    ShowPart(part);
}

CRect CView::ClientUnits() const {
    // Where the window ends between two pixels, its image's last column and row are partly
    // shown, and their units lie past the window's logical size.
    return GetDeviceMapping().ToUnits(ImagePixels(GetDeviceScale()));
}

void CView::ShowPart(const CRect& part) {
    if (m_pWidget == nullptr)
        return;
    // Only what the window's image holds can need showing again.
    const CRect client = ClientUnits();
    CRect inside;
    if (!IntersectRect(&inside, &part, &client))
        return;
    // Qt takes the part to show again in logical units and rounds it to pixels its own way,
    // which at a fractional ratio can fall short of the pixels the part was drawn on: it is
    // asked for a part that holds them however it rounds.
    const CRect shown = GetDeviceScale().ToLogicalAround(GetDeviceMapping().Reach(inside));
    try {
        m_pWidget->update(
            QRect(QPoint(shown.left, shown.top), QPoint(shown.right - 1, shown.bottom - 1)));
    } catch (const std::bad_alloc&) {
        RepaintAllAfterFailure();
    }
}

void CView::AddInvalidPart(CRect part) {
    // Parts that overlap or touch become one, so that no pixel is painted twice; a view with
    // many scattered parts repaints the one rectangle around them all instead.
    constexpr std::size_t kMostParts = 16;
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = m_invalidParts.begin(); it != m_invalidParts.end(); ++it) {
            if (it->left > part.right || part.left > it->right || it->top > part.bottom ||
                part.top > it->bottom)
                continue;
            UnionRect(&part, &part, &*it);
            m_invalidParts.erase(it);
            merged = true;
            break;
        }
    }
    if (m_invalidParts.size() == kMostParts) {
        for (const CRect& other : m_invalidParts)
            UnionRect(&part, &part, &other);
        m_invalidParts.clear();
    }
    m_invalidParts.push_back(part);
}

bool CView::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe) {
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return true;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI, bProbe);
}

DeviceScale CView::GetDeviceScale() const {
    return DeviceScale::FromRatio(m_pWidget != nullptr ? m_pWidget->devicePixelRatio() : 1.0);
}

CRect CView::ImagePixels(const DeviceScale& scale) const {
    // The image has a pixel for every pixel of the screen, however many the screen shows per
    // logical unit.
    const CSize client = GetClientSize();
    const QSize logical = QSize(client.cx, client.cy).expandedTo(QSize(1, 1));
    const auto side = [&](int units) {
        return int(std::clamp<std::int64_t>(scale.Cover(units), 1, kMaxBackingSide));
    };
    return CRect(0, 0, side(logical.width()), side(logical.height()));
}

QImage* CView::GetBackingImage() {
    // The image tells the surfaces drawn on it how units map to its pixels.
    const DeviceScale scale = GetDeviceScale();
    const CRect pixels = ImagePixels(scale);
    const QSize size(pixels.right, pixels.bottom);
    if (m_pImage == nullptr || m_pImage->size() != size ||
        m_pImage->devicePixelRatio() != scale.Ratio()) {
        delete m_pImage;
        m_pImage = new QImage(size, QImage::Format_RGB32);
        m_pImage->setDevicePixelRatio(scale.Ratio());
        m_pImage->fill(Qt::white);
        m_bRedrawPending = true;
    }
    return m_pImage;
}

void CView::UpdateBackingImage() {
    QImage* image = GetBackingImage();
    if (m_bRedrawPending) {
        m_bRedrawPending = false;
        m_invalidParts.clear();
        // The background is erased to white whatever the desktop's colours.
        image->fill(Qt::white);
        PaintPart(image, nullptr);
        return;
    }
    // The list is taken first: painting a part may invalidate another.
    std::vector<CRect> parts;
    parts.swap(m_invalidParts);
    for (const CRect& part : parts)
        PaintPart(image, &part);
}

void CView::PaintPart(QImage* image, const CRect* pPart) {
    m_bLayerShown = false;
    AfxCallGuarded([&] {
        {
            CDC dc;
            const DeviceMapping mapping = GetDeviceMapping();
            dc.AttachWindowImage(image, pPart, &mapping);
            // The clip holds every pixel that the part's units are drawn on, which at a ratio below
            // one is more than a fill of the part covers.
            if (pPart != nullptr) {
                CRect clip;
                dc.GetClipBox(&clip);
                dc.FillSolidRect(&clip, RGB(255, 255, 255));
            }
            OnPrepareDC(&dc, nullptr);
            OnDraw(&dc);
        }
        if (IsLayerChecked() && m_bLayerShown)
            CheckLayerPart(*image, pPart != nullptr ? *pPart : ClientUnits());
    });
}

// The widget.

CViewWidget::CViewWidget(CView* pView, QWidget* parent)
    : QWidget(parent), m_pView(pView), m_hBar(new QScrollBar(Qt::Horizontal, this)),
      m_vBar(new QScrollBar(Qt::Vertical, this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_extentCheck.setSingleShot(true);
    m_extentCheck.setInterval(250);
    connect(&m_extentCheck, &QTimer::timeout, this, [this] {
        if (CView* view = m_pView) {
            view->m_bExtentStale = true;
            AfxCallGuarded([view] { view->UpdateScrollBars(); });
        }
    });
    m_autoScroll.setInterval(40);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] { AutoScrollTick(); });
    // The bars show only when the drawing does not fit.
    m_hBar->hide();
    m_vBar->hide();
    for (QScrollBar* bar : {m_hBar, m_vBar}) {
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (CView* view = m_pView)
                AfxCallGuarded([view] { view->OnScrollBarMoved(); });
        });
    }
}

void CViewWidget::paintEvent(QPaintEvent* event) {
    if (m_pView == nullptr)
        return;
    m_pView->UpdateBackingImage();
    // The image holds the screen's own pixels: drawn at its own ratio, each of its pixels lands
    // on one pixel of the screen, with no scaling, even where the view starts between pixels.
    // The painter is clipped to what changed or came into view, and copies only that.
    QPainter painter(this);
    const QImage& image = *m_pView->GetBackingImage();
    // A region of several rectangles, such as the four edges of a large outline, is copied one
    // rectangle at a time: clipped to the region whole, the copy walks every row around it.
    const QRegion& region = event->region();
    if (region.rectCount() <= 1) {
        painter.drawImage(QPointF(0, 0), image);
    } else {
        for (const QRect& rect : region) {
            painter.setClipRect(rect);
            painter.drawImage(QPointF(0, 0), image);
        }
        painter.setClipRegion(region);
    }
    // The corner between two scroll bars belongs to neither.
    if (m_hBar->isVisible() && m_vBar->isVisible())
        painter.fillRect(QRect(m_vBar->x(), m_hBar->y(), m_vBar->width(), m_hBar->height()),
                         palette().window());
}

void CViewWidget::resizeEvent(QResizeEvent*) {
    PlaceBars();
    if (m_pView == nullptr)
        return;
    m_pView->CancelBackgroundDrawing();
    m_pView->m_bRedrawPending = true;
    m_pView->UpdateScrollBars();
}

namespace {

UINT KeyFlags(const QMouseEvent* e) {
    UINT flags = 0;
    if (e->buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (e->buttons() & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (e->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

// Client coordinates in whole logical pixels; a fractional HiDPI position rounds down.
CPoint ClientPoint(const QMouseEvent* e) {
    const QPointF p = e->position();
    auto clamp = [](double v) {
        return static_cast<std::int32_t>(std::clamp(std::floor(v), -2147483648.0, 2147483647.0));
    };
    return {clamp(p.x()), clamp(p.y())};
}

} // namespace

void CViewWidget::Deliver(unsigned message, QMouseEvent* event) {
    if (m_pView == nullptr)
        return;
    AFX_MSGARGS args;
    args.nFlags = KeyFlags(event);
    args.point = m_pView->ClientToUnits(ClientPoint(event));
    CView* view = m_pView;
    AfxCallGuarded([&] { view->SendMessage(message, args); });
    AfxScheduleIdleUpdate();
}

void CViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Deliver(WM_LBUTTONDOWN, event);
    else if (event->button() == Qt::RightButton)
        Deliver(WM_RBUTTONDOWN, event);
}

void CViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    m_autoScroll.stop();
    if (event->button() == Qt::LeftButton)
        Deliver(WM_LBUTTONUP, event);
    else if (event->button() == Qt::RightButton)
        Deliver(WM_RBUTTONUP, event);
}

void CViewWidget::focusOutEvent(QFocusEvent* event) {
    // A window that lost the keyboard to a dialog or another window has lost the gesture too:
    // nothing goes on scrolling behind the user's back.
    m_autoScroll.stop();
    QWidget::focusOutEvent(event);
}

void CViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a press: a view that wants double clicks
    // has an entry for them.
    if (event->button() == Qt::LeftButton)
        Deliver(WM_LBUTTONDBLCLK, event);
}

void CViewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_pView != nullptr) {
        // A held button keeps the moves coming from beyond the window's edges.
        m_pView->m_ptPointer = ClientPoint(event);
        m_pView->m_bPointerOver = rect().contains(event->position().toPoint());
    }
    Deliver(WM_MOUSEMOVE, event);
    FollowEdges(event);
}

void CViewWidget::leaveEvent(QEvent* event) {
    if (m_pView != nullptr)
        m_pView->m_bPointerOver = false;
    AfxScheduleIdleUpdate();
    QWidget::leaveEvent(event);
}

void CViewWidget::FollowEdges(QMouseEvent* event) {
    const CPoint at = ClientPoint(event);
    if (m_pView == nullptr || (event->buttons() & Qt::LeftButton) == 0 ||
        !m_pView->WantsAutoScroll() || m_pView->AutoScrollStep(at) == CPoint()) {
        m_autoScroll.stop();
        return;
    }
    m_autoScrollAt = QPoint(at.x, at.y);
    m_autoScrollFlags = KeyFlags(event);
    if (!m_autoScroll.isActive())
        m_autoScroll.start();
}

void CViewWidget::AutoScrollTick() {
    CView* view = m_pView;
    const CPoint at(m_autoScrollAt.x(), m_autoScrollAt.y());
    // The release may never reach this window (a dialog or the desktop took the mouse): the
    // button as the application last saw it decides, not the state at the last move here.
    if (view == nullptr || !view->WantsAutoScroll() || view->AutoScrollStep(at) == CPoint() ||
        (QGuiApplication::mouseButtons() & Qt::LeftButton) == 0) {
        m_autoScroll.stop();
        return;
    }
    AfxCallGuarded([&] {
        const std::int64_t x = view->GetScrollX();
        const std::int64_t y = view->GetScrollY();
        view->AutoScrollBy(view->AutoScrollStep(at));
        if (view->GetScrollX() == x && view->GetScrollY() == y) {
            // At the ends of the units a drawing can hold, nothing moves any more.
            m_autoScroll.stop();
            return;
        }
        // The pointer stands still over a drawing that moved under it: the gesture hears of it
        // as a move to the unit now under the pointer.
        AFX_MSGARGS args;
        args.nFlags = m_autoScrollFlags;
        args.point = view->ClientToUnits(at);
        view->SendMessage(WM_MOUSEMOVE, args);
    });
    AfxScheduleIdleUpdate();
}
