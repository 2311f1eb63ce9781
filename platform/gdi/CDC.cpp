#include "platform/gdi/CDC.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/PainterDevice.h"
#include "platform/gdi/RasterDevice.h"
#include "platform/gdi/StockObjects.h"
#include "platform/geometry/PointSpan.h"

#include <QImage>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

CDC::CDC() : m_pPen(StockObjects::BlackPen()), m_pBrush(StockObjects::WhiteBrush()) {}

CDC::~CDC() {
    if (m_pBitmap != nullptr && m_pBitmap->m_pSelectedInto == this)
        m_pBitmap->m_pSelectedInto = nullptr;
}

void CDC::SetOwnedDevice(std::unique_ptr<DrawingDevice> device) {
    m_ownedDevice = std::move(device);
    m_pDevice = m_ownedDevice.get();
    m_clipBox = m_pDevice != nullptr ? m_pDevice->ClipBox() : CRect();
}

void CDC::AttachImage(QImage* image) {
    SetOwnedDevice(RasterDevice::OnImage(image));
}

void CDC::AttachWindowImage(QImage* image, const CRect* pPart, const DeviceMapping* pMapping) {
    SetOwnedDevice(RasterDevice::OnWindowImage(image, pPart, pMapping));
}

void CDC::AttachImageRows(QImage* image, const DeviceMapping& mapping, int top, int bottom) {
    SetOwnedDevice(RasterDevice::OnImageRows(image, mapping, top, bottom));
}

void CDC::AttachPainter(QPainter* painter) {
    if (painter == nullptr) {
        SetOwnedDevice(nullptr);
        return;
    }
    SetOwnedDevice(std::make_unique<PainterDevice>(painter));
}

void CDC::AttachDevice(DrawingDevice* device) {
    m_ownedDevice.reset();
    m_pDevice = device;
    m_clipBox = m_pDevice != nullptr ? m_pDevice->ClipBox() : CRect();
}

void CDC::DetachDevice() {
    SetOwnedDevice(nullptr);
}

bool CDC::CreateCompatibleDC(CDC*) {
    if (m_bMemory)
        return false;
    m_bMemory = true;
    SetOwnedDevice(nullptr);
    m_pBitmap = StockObjects::DefaultBitmap();
    return true;
}

CPoint CDC::MoveTo(int x, int y) {
    const CPoint previous = m_ptCurrent;
    m_ptCurrent = CPoint(x, y);
    m_nLinePhase = 0;
    return previous;
}

bool CDC::LineTo(int x, int y) {
    const CPoint to(x, y);
    if (m_pDevice != nullptr && m_pen.style != PS_NULL) {
        m_pDevice->Line(m_ptCurrent, to, m_pen, m_nRop, m_nLinePhase);
        if (m_bAccumulate) {
            const CPoint ends[2] = {m_ptCurrent, to};
            AddToBounds(ends, 2);
        }
    }
    m_ptCurrent = to;
    return true;
}

bool CDC::PolyBezier(const CPoint* points, int count) {
    if (points == nullptr || count < 1 || (count - 1) % 3 != 0)
        return false;
    if (count > 1 && m_pDevice != nullptr && m_pen.style != PS_NULL) {
        m_pDevice->PolyBezier(points, count, m_pen, m_nRop);
        // A Bezier segment lies within the hull of its points.
        if (m_bAccumulate)
            AddToBounds(points, count);
    }
    return true;
}

int CDC::SetROP2(int mode) {
    if (mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    const int previous = m_nRop;
    m_nRop = mode;
    return previous;
}

CGdiObject* CDC::SelectStockObject(int index) {
    CGdiObject* object = StockObjects::Get(index);
    if (object == nullptr)
        return nullptr;
    return SelectObject(object);
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (object == nullptr)
        return nullptr;
    switch (object->GetKind()) {
    case CGdiObject::Kind::Pen:
        return SelectObject(static_cast<CPen*>(object));
    case CGdiObject::Kind::Brush:
        return SelectObject(static_cast<CBrush*>(object));
    case CGdiObject::Kind::Bitmap:
        return SelectObject(static_cast<CBitmap*>(object));
    }
    return nullptr;
}

CPen* CDC::SelectObject(CPen* pen) {
    if (pen == nullptr || !pen->IsValid())
        return nullptr;
    m_pen = PenAttributes{pen->GetStyle(), pen->GetWidth(), pen->GetColor()};
    return std::exchange(m_pPen, pen);
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (brush == nullptr || !brush->IsValid())
        return nullptr;
    return std::exchange(m_pBrush, brush);
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!m_bMemory || bitmap == nullptr || !bitmap->IsValid())
        return nullptr;
    // A bitmap is drawn on through one surface at a time.
    if (bitmap->m_pSelectedInto != nullptr && bitmap->m_pSelectedInto != this)
        return nullptr;
    CBitmap* previous = m_pBitmap;
    if (previous != nullptr && previous->m_pSelectedInto == this)
        previous->m_pSelectedInto = nullptr;
    m_pBitmap = bitmap;
    if (!bitmap->IsStock())
        bitmap->m_pSelectedInto = this;
    SetOwnedDevice(RasterDevice::OnImage(bitmap->GetImage()));
    return previous;
}

void CDC::ForgetBitmap(CBitmap* bitmap) {
    if (m_pBitmap != bitmap)
        return;
    m_pBitmap = StockObjects::DefaultBitmap();
    SetOwnedDevice(nullptr);
}

void CDC::FillRect(const CRect* rect, CBrush* brush) {
    if (rect == nullptr || brush == nullptr || !brush->IsValid() || brush->IsHollow() ||
        m_pDevice == nullptr)
        return;
    m_pDevice->FillRect(rect->left, rect->top, rect->right, rect->bottom, brush->GetColor());
    if (m_bAccumulate)
        AddToBounds(*rect);
}

void CDC::FillSquare(CPoint centre, int half, CBrush* brush) {
    if (brush == nullptr || !brush->IsValid() || brush->IsHollow() || m_pDevice == nullptr)
        return;
    // A square that wraps around the coordinate range is inverted, as FillRect's would be, and
    // fills nothing.
    CRect square(centre.x, centre.y, centre.x, centre.y);
    InflateRect(&square, half, half);
    if (square.left >= square.right || square.top >= square.bottom)
        return;
    m_pDevice->FillSquare(centre, half, brush->GetColor());
    if (m_bAccumulate)
        AddToBounds(square);
}

void CDC::FillSquares(const CPoint* centres, std::size_t count, int half, CBrush* brush) {
    if (centres == nullptr || count == 0 || brush == nullptr || !brush->IsValid() ||
        brush->IsHollow() || m_pDevice == nullptr)
        return;
    // Squares near an end of the range may wrap: they take the squares one at a time.
    CRect covered;
    if (!SquaresAroundSpan(SpanOfPoints(centres, count), half, &covered)) {
        for (std::size_t i = 0; i < count; ++i)
            FillSquare(centres[i], half, brush);
        return;
    }
    m_pDevice->FillSquares(centres, count, half, brush->GetColor());
    // Gathered bounds take the squares' span whole: a list this long covers much of it anyway.
    if (m_bAccumulate)
        AddToBounds(covered);
}

void CDC::SetMapping(const DeviceMapping& mapping) {
    if (m_pDevice == nullptr)
        return;
    m_pDevice->SetMapping(mapping);
    m_clipBox = m_pDevice->ClipBox();
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    if (m_pDevice == nullptr)
        return;
    m_pDevice->FillRect(x, y, std::int64_t(x) + cx, std::int64_t(y) + cy, color & 0xFFFFFF);
    if (!m_bAccumulate)
        return;
    const CRect filled(
        x, y, std::int32_t(std::clamp<std::int64_t>(std::int64_t(x) + cx, INT32_MIN, INT32_MAX)),
        std::int32_t(std::clamp<std::int64_t>(std::int64_t(y) + cy, INT32_MIN, INT32_MAX)));
    AddToBounds(filled);
}

void CDC::FillSolidRect(const CRect* rect, COLORREF color) {
    if (rect == nullptr || m_pDevice == nullptr)
        return;
    m_pDevice->FillRect(rect->left, rect->top, rect->right, rect->bottom, color & 0xFFFFFF);
    if (m_bAccumulate)
        AddToBounds(*rect);
}

void CDC::AddToBounds(const CPoint* points, int count) {
    if (count <= 0)
        return;
    const PointSpan span = SpanOfPoints(points, std::size_t(count));
    // The last row and column of the range cannot be named with the right and bottom edges
    // outside; no window reaches them.
    const CRect drawn(
        span.left, span.top,
        std::int32_t(std::min<std::int64_t>(std::int64_t(span.right) + 1, INT32_MAX)),
        std::int32_t(std::min<std::int64_t>(std::int64_t(span.bottom) + 1, INT32_MAX)));
    AddToBounds(drawn);
}

namespace {

// In doubles: the sides of a rectangle across the whole range multiply past 64 bits.
double Area(const CRect& rect) {
    return double(std::int64_t(rect.right) - rect.left) *
           double(std::int64_t(rect.bottom) - rect.top);
}

// How many pixels joining two rectangles adds beyond what they hold; touching strips of a
// polyline join for nothing, the two far edges of an outline for most of its inside.
double JoiningCost(const CRect& a, const CRect& b) {
    CRect joined;
    UnionRect(&joined, &a, &b);
    return Area(joined) - Area(a) - Area(b);
}

} // namespace

void CDC::AddToBounds(const CRect& drawn) {
    if (drawn.IsRectEmpty())
        return;
    UnionRect(&m_bounds, &m_bounds, &drawn);
    // A part joins the one it costs least to join, where that costs no more than a few rows of
    // pixels, or when there is no room for another.
    constexpr double kCheapJoin = 256;
    std::size_t best = m_nBoundsParts;
    double bestCost = 0;
    for (std::size_t i = 0; i < m_nBoundsParts; ++i) {
        const double cost = JoiningCost(m_boundsParts[i], drawn);
        if (best == m_nBoundsParts || cost < bestCost) {
            best = i;
            bestCost = cost;
        }
    }
    if (best == m_nBoundsParts || (bestCost > kCheapJoin && m_nBoundsParts < kMostBoundsParts)) {
        m_boundsParts[m_nBoundsParts++] = drawn;
        return;
    }
    UnionRect(&m_boundsParts[best], &m_boundsParts[best], &drawn);
}

int CDC::GetClipBox(CRect* pRect) const {
    if (pRect != nullptr)
        *pRect = m_clipBox;
    return m_clipBox.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}
