#include "platform/framework/CView.h"

#include "platform/framework/GuardedCall.h"
#include "platform/framework/internal/FrameworkWidgets.h"

#include <QApplication>
#include <QImage>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Scroll positions are held within this many screen units of the origin: a drawing of 32-bit
// units at the largest zoom reaches 2^37.
constexpr std::int64_t kFarScroll = std::int64_t(1) << 40;
// Within this many screen units of an edge, or beyond it, a gesture that follows the pointer
// scrolls the window, by up to the fastest step at a time: the further out, the faster.
constexpr std::int64_t kEdge = 16;
constexpr std::int64_t kFastest = 80;
// One line of the wheel, in screen units.
constexpr int kWheelLine = 20;
// The largest value a scroll bar is given; Qt keeps its values in int.
constexpr std::int64_t kMostBarValue = std::int64_t(1) << 30;

std::int32_t Clamp32(std::int64_t v) {
    return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// Moves the image's pixels so that the pixel at (x + dx, y + dy) lands at (x, y); what comes
// into view keeps old pixels until it is drawn. Both moves are shorter than the image's sides.
void ShiftPixels(QImage& image, int dx, int dy) {
    const int w = image.width();
    const int h = image.height();
    const std::ptrdiff_t stride = image.bytesPerLine() / 4;
    auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
    const int fromX = std::max(0, dx);
    const int toX = std::max(0, -dx);
    const std::size_t bytes = std::size_t(w - std::abs(dx)) * sizeof(std::uint32_t);
    const auto move = [&](int y) {
        std::memmove(bits + y * stride + toX, bits + (y + dy) * stride + fromX, bytes);
    };
    if (dy >= 0) {
        for (int y = 0; y + dy < h; ++y)
            move(y);
    } else {
        for (int y = h - 1; y + dy >= 0; --y)
            move(y);
    }
}

} // namespace

std::int64_t CView::ZoomFixed() const {
    return std::llround(std::pow(2.0, m_nZoomStep / 2.0) * double(DeviceScale::kOne));
}

double CView::GetZoom() const {
    return double(ZoomFixed()) / double(DeviceScale::kOne);
}

DeviceMapping CView::GetDeviceMapping() const {
    const DeviceScale screen = GetDeviceScale();
    return DeviceMapping(screen.Zoomed(ZoomFixed()), screen, screen.Map(m_scrollX),
                         screen.Map(m_scrollY));
}

CPoint CView::ClientToUnits(CPoint client) const {
    // The unit nearest the pointer, worked out in the screen's units, where the pointer is: a
    // point placed at a press shows under the pointer, not up to a unit's pixels up and to the
    // left of it, and the mapping does not depend on the pixels the screen rounds to.
    const std::int64_t zoom = ZoomFixed();
    const auto nearest = [zoom](std::int64_t at) {
        const std::int64_t twice =
            2 * std::clamp(at, -kFarScroll, kFarScroll) * DeviceScale::kOne + zoom;
        const std::int64_t unit = twice / (2 * zoom);
        return Clamp32(twice % (2 * zoom) < 0 ? unit - 1 : unit);
    };
    return CPoint(nearest(m_scrollX + client.x), nearest(m_scrollY + client.y));
}

bool CView::GetPointerUnits(CPoint& point) const {
    if (!m_bPointerOver)
        return false;
    point = ClientToUnits(m_ptPointer);
    return true;
}

CSize CView::GetClientSize() const {
    return m_pWidget != nullptr ? CSize(m_pWidget->width(), m_pWidget->height()) : CSize();
}

CSize CView::GetViewportSize() const {
    const auto* widget = dynamic_cast<const CViewWidget*>(m_pWidget);
    if (widget == nullptr)
        return GetClientSize();
    const QSize size = widget->ViewportSize();
    return CSize(size.width(), size.height());
}

CRect CView::GetDrawingExtent() const {
    return CRect();
}

void CView::RefreshExtent() {
    if (!m_bExtentStale)
        return;
    m_extent = GetDrawingExtent();
    m_bExtentStale = false;
}

void CView::ScrollRange(std::int64_t range[4], CSize client, bool withCurrent) const {
    // The positions that show the drawing: from its first unit at the window's top-left
    // corner to its last at the bottom-right one, or, where it fits the window, every position
    // that shows all of it. At one unit per screen unit the window at the origin, where a
    // drawing starts out, counts as part of the drawing. The position the window stands at
    // counts too, so that an edit that shrinks the drawing never moves what the user looks
    // at; then a bar shows only where there is somewhere to scroll.
    const bool drawing = !m_extent.IsRectEmpty();
    const bool origin = m_nZoomStep == 0;
    const DeviceScale zoom = DeviceScale().Zoomed(ZoomFixed());
    const auto along = [&](std::int64_t current, std::int64_t first, std::int64_t end,
                           std::int64_t length, std::int64_t* low, std::int64_t* high) {
        std::int64_t from = 0;
        std::int64_t to = 0;
        if (drawing) {
            from = zoom.Map(first);
            to = zoom.MapEnd(first, end) - length;
            if (origin) {
                from = std::min<std::int64_t>(from, 0);
                to = std::max<std::int64_t>(to, 0);
            }
        } else if (!origin) {
            from = to = withCurrent ? current : 0;
        }
        if (withCurrent) {
            *low = std::min(current, from);
            *high = std::max(current, to);
        } else {
            *low = std::min(from, to);
            *high = std::max(from, to);
        }
        *low = std::clamp(*low, -kFarScroll, kFarScroll);
        *high = std::clamp(*high, *low, kFarScroll);
    };
    along(m_scrollX, m_extent.left, m_extent.right, client.cx, &range[0], &range[2]);
    along(m_scrollY, m_extent.top, m_extent.bottom, client.cy, &range[1], &range[3]);
}

void CView::NoteExtentChange(const CRect* pPart) {
    auto* widget = dynamic_cast<CViewWidget*>(m_pWidget);
    if (pPart == nullptr || widget == nullptr) {
        m_bExtentStale = true;
    } else {
        // Asking every curve at each step of a point drag would cost the step a drawing's
        // length; the part holds what the edit reaches.
        if (!m_bExtentStale)
            UnionRect(&m_extent, &m_extent, pPart);
        widget->ExtentCheck()->start();
    }
    ScheduleScrollBars();
}

void CView::ScheduleScrollBars() {
    auto* widget = dynamic_cast<CViewWidget*>(m_pWidget);
    if (widget == nullptr || m_bScrollBarsPending)
        return;
    // Many edits of one turn of the event loop ask for the drawing's extent once.
    m_bScrollBarsPending = true;
    QMetaObject::invokeMethod(
        widget,
        [widget] {
            if (CView* view = widget->View(); view != nullptr && view->m_bScrollBarsPending)
                AfxCallGuarded([view] { view->UpdateScrollBars(); });
        },
        Qt::QueuedConnection);
}

void CView::UpdateScrollBars() {
    m_bScrollBarsPending = false;
    auto* widget = dynamic_cast<CViewWidget*>(m_pWidget);
    if (widget == nullptr)
        return;
    RefreshExtent();
    // Each bar takes room from the other's direction: a second look settles whether the other
    // is needed too.
    const QSize full = widget->size();
    const int barHeight = widget->HorizontalBar()->sizeHint().height();
    const int barWidth = widget->VerticalBar()->sizeHint().width();
    bool horizontal = false;
    bool vertical = false;
    std::int64_t range[4] = {};
    CSize client;
    for (int pass = 0; pass < 3; ++pass) {
        client = CSize(std::max(1, full.width() - (vertical ? barWidth : 0)),
                       std::max(1, full.height() - (horizontal ? barHeight : 0)));
        ScrollRange(range, client);
        horizontal = range[2] > range[0];
        vertical = range[3] > range[1];
    }
    client = CSize(std::max(1, full.width() - (vertical ? barWidth : 0)),
                   std::max(1, full.height() - (horizontal ? barHeight : 0)));
    ScrollRange(range, client);
    // The bars lie over the window's image, which keeps its size and its pixels: the range
    // reaches far enough that nothing stays under them.
    if (widget->ShowBars(horizontal, vertical))
        widget->update();
    m_nScrollShift = 0;
    const std::int64_t widest =
        std::max({std::abs(range[0]), std::abs(range[1]), std::abs(range[2]), std::abs(range[3])});
    while ((widest >> m_nScrollShift) > kMostBarValue)
        ++m_nScrollShift;
    const int shift = m_nScrollShift;
    m_bSettingBars = true;
    const auto set = [shift](QScrollBar* bar, std::int64_t low, std::int64_t high,
                             std::int64_t page, std::int64_t value) {
        bar->setRange(int(low >> shift), int(high >> shift));
        bar->setPageStep(int(std::max<std::int64_t>(1, page >> shift)));
        bar->setSingleStep(int(std::max<std::int64_t>(1, kWheelLine >> shift)));
        bar->setValue(int(value >> shift));
    };
    set(widget->HorizontalBar(), range[0], range[2], client.cx, m_scrollX);
    set(widget->VerticalBar(), range[1], range[3], client.cy, m_scrollY);
    m_bSettingBars = false;
}

void CView::OnScrollBarMoved() {
    const auto* widget = dynamic_cast<CViewWidget*>(m_pWidget);
    if (widget == nullptr || m_bSettingBars)
        return;
    // Only the bar that moved sets its direction: a coarse bar must not round the other.
    std::int64_t x = m_scrollX;
    std::int64_t y = m_scrollY;
    const int shift = m_nScrollShift;
    if (widget->HorizontalBar()->value() != int(m_scrollX >> shift))
        x = std::int64_t(widget->HorizontalBar()->value()) * (std::int64_t(1) << shift);
    if (widget->VerticalBar()->value() != int(m_scrollY >> shift))
        y = std::int64_t(widget->VerticalBar()->value()) * (std::int64_t(1) << shift);
    ScrollTo(x, y);
}

void CView::ScrollTo(std::int64_t x, std::int64_t y) {
    MoveTo(x, y, true);
}

bool CView::WantsAutoScroll() const {
    return false;
}

CPoint CView::AutoScrollStep(CPoint client) const {
    const CSize size = GetViewportSize();
    const auto along = [](std::int64_t at, std::int64_t length) -> std::int32_t {
        if (at < kEdge)
            return std::int32_t(-std::clamp(kEdge - at, std::int64_t(1), kFastest));
        if (at >= length - kEdge)
            return std::int32_t(std::clamp(at - (length - kEdge) + 1, std::int64_t(1), kFastest));
        return 0;
    };
    return CPoint(along(client.x, size.cx), along(client.y, size.cy));
}

void CView::AutoScrollBy(CPoint step) {
    MoveTo(m_scrollX + step.x, m_scrollY + step.y, false);
}

void CView::MoveTo(std::int64_t x, std::int64_t y, bool withinRange) {
    RefreshExtent();
    std::int64_t range[4];
    if (withinRange) {
        ScrollRange(range, GetViewportSize());
    } else {
        // A gesture may take the window past the drawing, but not past the units a drawing can
        // hold: there it stops.
        const DeviceScale zoom = DeviceScale().Zoomed(ZoomFixed());
        const CSize client = GetViewportSize();
        const std::int64_t first = INT32_MIN;
        const std::int64_t end = std::int64_t(INT32_MAX) + 1;
        range[0] = std::min(zoom.Map(first), m_scrollX);
        range[1] = std::min(zoom.Map(first), m_scrollY);
        range[2] = std::max(zoom.MapEnd(first, end) - client.cx, m_scrollX);
        range[3] = std::max(zoom.MapEnd(first, end) - client.cy, m_scrollY);
    }
    x = std::clamp(x, range[0], range[2]);
    y = std::clamp(y, range[1], range[3]);
    if (x == m_scrollX && y == m_scrollY)
        return;
    const DeviceMapping before = GetDeviceMapping();
    m_scrollX = x;
    m_scrollY = y;
    const DeviceMapping after = GetDeviceMapping();
    MoveImage(after.OriginX() - before.OriginX(), after.OriginY() - before.OriginY());
    UpdateScrollBars();
    // Another unit lies under a pointer that stood still: the status bar says which.
    AfxScheduleIdleUpdate();
}

void CView::MoveImage(std::int64_t dx, std::int64_t dy) {
    if (m_pWidget == nullptr)
        return;
    if (m_bRedrawPending || m_pImage == nullptr || std::abs(dx) >= m_pImage->width() ||
        std::abs(dy) >= m_pImage->height()) {
        RedrawAll();
        return;
    }
    // What stays in view keeps its pixels, in the image and in the layer alike; only the strips
    // that came into view are drawn.
    const int w = m_pImage->width();
    const int h = m_pImage->height();
    if (IsDrawingInBackground()) {
        // The picture is a zoom step's scaled one, drawn again for the new place: it moves, and
        // what comes into view stays white until the sharp picture is in.
        CancelBackgroundDrawing();
        m_invalidParts.clear();
        ShiftPixels(*m_pImage, int(dx), int(dy));
        const QRect blank[2] = {
            dx > 0 ? QRect(w - int(dx), 0, int(dx), h) : QRect(0, 0, int(-dx), h),
            dy > 0 ? QRect(0, h - int(dy), w, int(dy)) : QRect(0, 0, w, int(-dy))};
        for (const QRect& strip : blank)
            for (int y = strip.top(); y <= strip.bottom(); ++y)
                std::fill_n(reinterpret_cast<std::uint32_t*>(m_pImage->scanLine(y)) + strip.left(),
                            strip.width(), 0xFFFFFFFFu);
        DropLayer();
        if (!StartBackgroundDrawing())
            RedrawAll();
        m_pWidget->update();
        return;
    }
    ShiftPixels(*m_pImage, int(dx), int(dy));
    const bool layer = IsLayerKept();
    if (layer)
        ShiftPixels(*m_pLayer, int(dx), int(dy));
    CRect strips[2];
    if (dx > 0)
        strips[0] = CRect(w - int(dx), 0, w, h);
    else if (dx < 0)
        strips[0] = CRect(0, 0, int(-dx), h);
    if (dy > 0)
        strips[1] = CRect(0, h - int(dy), w, h);
    else if (dy < 0)
        strips[1] = CRect(0, 0, w, int(-dy));
    const DeviceMapping mapping = GetDeviceMapping();
    for (const CRect& strip : strips) {
        if (strip.IsRectEmpty())
            continue;
        const CRect part = mapping.ToUnits(strip);
        if (layer && IsLayerKept())
            OnLayerExposed(part);
        AddInvalidPart(part);
    }
    m_pWidget->update();
}

void CView::RedrawAll() {
    CancelBackgroundDrawing();
    DropLayer();
    InvalidateRect(nullptr, true);
    // The status bar follows the zoom, whatever changed it.
    AfxScheduleIdleUpdate();
}

void CView::SetZoomStep(int step, CPoint anchor) {
    step = std::clamp(step, kZoomOutmost, kZoomInmost);
    if (step == m_nZoomStep)
        return;
    // The point of the drawing under the anchor stays under it, to a fraction of a unit: held
    // to a whole unit, each step would move the window by up to a unit's pixels. Where the
    // last step about the same anchor left the window, the next starts from that step's own
    // point rather than from the rounded position, so that steps in and back out come to the
    // same place however many there are.
    const ZoomAnchor& last = m_zoomAnchor;
    const bool again = last.valid && last.client == anchor && last.step == m_nZoomStep &&
                       last.scrollX == m_scrollX && last.scrollY == m_scrollY;
    const double scale = double(ZoomFixed()) / double(DeviceScale::kOne);
    const double unitX = again ? last.unitX : (double(m_scrollX) + anchor.x) / scale;
    const double unitY = again ? last.unitY : (double(m_scrollY) + anchor.y) / scale;
    const DeviceMapping before = GetDeviceMapping();
    m_nZoomStep = step;
    const double after = double(ZoomFixed()) / double(DeviceScale::kOne);
    RefreshExtent();
    std::int64_t range[4];
    ScrollRange(range, GetViewportSize(), false);
    const auto place = [after](double unit, int at, std::int64_t low, std::int64_t high) {
        const double far = double(kFarScroll);
        return std::clamp(std::int64_t(std::llround(std::clamp(unit * after - at, -far, far))), low,
                          high);
    };
    m_scrollX = place(unitX, anchor.x, range[0], range[2]);
    m_scrollY = place(unitY, anchor.y, range[1], range[3]);
    m_zoomAnchor = {anchor, unitX, unitY, step, m_scrollX, m_scrollY, true};
    ShowScaled(before);
    UpdateScrollBars();
}

void CView::ZoomToFit() {
    RefreshExtent();
    const auto* widget = dynamic_cast<const CViewWidget*>(m_pWidget);
    if (m_extent.IsRectEmpty() || widget == nullptr) {
        ResetZoomAndScroll();
        return;
    }
    // Fitted, the drawing needs no scroll bars: the whole widget is the window.
    const QSize full = widget->size();
    int step = kZoomOutmost;
    for (int s = kZoomInmost; s > kZoomOutmost; --s) {
        const DeviceScale zoom =
            DeviceScale().Zoomed(std::llround(std::pow(2.0, s / 2.0) * double(DeviceScale::kOne)));
        if (zoom.MapEnd(m_extent.left, m_extent.right) - zoom.Map(m_extent.left) <= full.width() &&
            zoom.MapEnd(m_extent.top, m_extent.bottom) - zoom.Map(m_extent.top) <= full.height()) {
            step = s;
            break;
        }
    }
    const DeviceMapping before = GetDeviceMapping();
    m_nZoomStep = step;
    m_zoomAnchor.valid = false;
    const DeviceScale zoom = DeviceScale().Zoomed(ZoomFixed());
    m_scrollX = std::clamp(zoom.Map(m_extent.left), -kFarScroll, kFarScroll);
    m_scrollY = std::clamp(zoom.Map(m_extent.top), -kFarScroll, kFarScroll);
    if (GetDeviceMapping() != before)
        ShowScaled(before);
    UpdateScrollBars();
}

void CView::ResetZoomAndScroll() {
    m_bExtentStale = true;
    m_zoomAnchor.valid = false;
    if (m_nZoomStep != 0 || m_scrollX != 0 || m_scrollY != 0) {
        m_nZoomStep = 0;
        m_scrollX = 0;
        m_scrollY = 0;
        RedrawAll();
    }
    ScheduleScrollBars();
}

// The widget's scroll bars and wheel.

QSize CViewWidget::ViewportSize() const {
    return QSize(std::max(1, width() - (m_vBar->isVisibleTo(this) ? m_vBar->width() : 0)),
                 std::max(1, height() - (m_hBar->isVisibleTo(this) ? m_hBar->height() : 0)));
}

bool CViewWidget::ShowBars(bool horizontal, bool vertical) {
    const QSize before = ViewportSize();
    m_hBar->setVisible(horizontal);
    m_vBar->setVisible(vertical);
    PlaceBars();
    return ViewportSize() != before;
}

void CViewWidget::PlaceBars() {
    const int barHeight = m_hBar->sizeHint().height();
    const int barWidth = m_vBar->sizeHint().width();
    const bool both = m_hBar->isVisibleTo(this) && m_vBar->isVisibleTo(this);
    m_hBar->setGeometry(0, height() - barHeight, width() - (both ? barWidth : 0), barHeight);
    m_vBar->setGeometry(width() - barWidth, 0, barWidth, height() - (both ? barHeight : 0));
}

void CViewWidget::wheelEvent(QWheelEvent* event) {
    event->accept();
    CView* view = m_pView;
    if (view == nullptr)
        return;
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // A notch is a step of the ladder, about the pointer; a fine wheel adds up to notches.
        m_zoomTravel += angle.y() != 0 ? angle.y() : angle.x();
        const int steps = m_zoomTravel / 120;
        if (steps == 0)
            return;
        m_zoomTravel -= steps * 120;
        const QPointF at = event->position();
        const CPoint anchor(int(std::floor(std::clamp(at.x(), -1e9, 1e9))),
                            int(std::floor(std::clamp(at.y(), -1e9, 1e9))));
        AfxCallGuarded([&] { view->SetZoomStep(view->GetZoomStep() + steps, anchor); });
        return;
    }
    // A touchpad says how far it moved; a wheel says how many notches, each a few lines.
    QPoint delta = event->pixelDelta();
    if (delta.isNull())
        delta = angle * (QApplication::wheelScrollLines() * kWheelLine) / 120;
    if ((event->modifiers() & Qt::ShiftModifier) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    AfxCallGuarded([&] { view->ScrollBy(-delta.x(), -delta.y()); });
}
