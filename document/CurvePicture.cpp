#include "document/CurvePicture.h"

#include "curve/CCurve.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/GetDIBits.h"
#include "platform/geometry/PointSpan.h"
#include "platform/geometry/Wrap.h"
#include "platform/ole/BlockLock.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The margin the picture grows by on each side; the drawing is not shifted by it, so all of it
// lands on the right and at the bottom.
constexpr std::int64_t kMargin = 5;

} // namespace

HGLOBAL CurvePicture(const CCurve& curve, CDC* pWindowDC) {
    return CurvesPicture({&curve}, pWindowDC);
}

HGLOBAL CurvesPicture(const std::vector<const CCurve*>& curves, CDC* pWindowDC) {
    // The picture's top-left pixel is the control points' own top-left corner. The curve's
    // bounds start from fixed values, which stand in for the corner of a curve that lies
    // beyond them (far right, far down or far up-left), so the corner is taken from the points.
    bool any = false;
    PointSpan span{};
    for (const CCurve* curve : curves) {
        if (curve->m_points.empty())
            continue;
        const PointSpan one = SpanOfPoints(curve->m_points.data(), curve->m_points.size());
        span = any ? UnionSpan(span, one) : one;
        any = true;
    }
    if (!any)
        return nullptr;
    // Computed wide: the control points may span the whole 32-bit range.
    const std::int64_t width = std::int64_t(span.right) - span.left + 2 * kMargin;
    const std::int64_t height = std::int64_t(span.bottom) - span.top + 2 * kMargin;
    if (width > CBitmap::kMaxSide || height > CBitmap::kMaxSide)
        return nullptr;

    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(pWindowDC, int(width), int(height)))
        return nullptr;
    CDC memDC;
    if (!memDC.CreateCompatibleDC(pWindowDC))
        return nullptr;
    CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
    if (!pOldBitmap)
        return nullptr;
    memDC.FillSolidRect(0, 0, int(width), int(height), 0xFFFFFF);
    for (const CCurve* curve : curves) {
        CCurve copy(*curve);
        copy.Offset(WrapSub(0, span.left), WrapSub(0, span.top));
        copy.Draw(&memDC);
    }
    // The bits are read from a bitmap that no surface holds any more.
    memDC.SelectObject(pOldBitmap);

    BITMAPINFO info{};
    BITMAPINFOHEADER& header = info.bmiHeader;
    const std::int64_t stride = (3 * width + 3) & ~std::int64_t(3);
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = std::int32_t(width);
    header.biHeight = std::int32_t(height);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = std::uint32_t(stride * height);

    const std::size_t blockSize = sizeof(BITMAPINFOHEADER) + header.biSizeImage;
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, blockSize);
    if (!hGlobal)
        return nullptr;
    bool complete = false;
    {
        const BlockLock lock(hGlobal);
        if (lock.Bytes() && GlobalSize(hGlobal) >= blockSize) {
            std::memcpy(lock.Bytes(), &header, sizeof header);
            // GetDIBits may rewrite the header it is given; the block keeps the copy above.
            BITMAPINFO readInfo = info;
            complete = GetDIBits(&memDC, &bitmap, 0, UINT(height), lock.Bytes() + sizeof header,
                                 &readInfo, DIB_RGB_COLORS) == int(height);
        }
    }
    if (!complete) {
        GlobalFree(hGlobal);
        return nullptr;
    }
    return hGlobal;
}
