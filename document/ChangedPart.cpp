#include "document/ChangedPart.h"

#include "platform/geometry/PointSpan.h"

#include <climits>
#include <cstdint>

CRect ChangedPart::OfCurve(const CCurve& curve, bool selected) {
    CRect part = curve.GetExtent();
    if (selected) {
        const CRect handles = Handles(curve);
        UnionRect(&part, &part, &handles);
    }
    return part;
}

CRect ChangedPart::AroundPoint(const CCurve& curve, std::size_t index, bool selected) {
    CRect part = curve.GetExtentAround(index);
    if (selected && index < curve.m_points.size()) {
        const CRect point = PointHandle(curve.m_points[index]);
        const CRect centre = CentreHandle(curve);
        UnionRect(&part, &part, &point);
        UnionRect(&part, &part, &centre);
    }
    return part;
}

CRect ChangedPart::Handles(const CCurve& curve) {
    // Squares that wrap around the coordinate range are inverted and fill nothing; the union
    // leaves them out just the same.
    CRect part = CentreHandle(curve);
    // Where no square can wrap, the squares reach as far as the outermost points' do: a whole
    // drawing selected asks this of a million points.
    CRect squares;
    if (SquaresAroundSpan(SpanOfPoints(curve.m_points.data(), curve.m_points.size()),
                          kPointHandleHalf, &squares)) {
        UnionRect(&part, &part, &squares);
        return part;
    }
    for (const CPoint& pt : curve.m_points) {
        const CRect square = PointHandle(pt);
        UnionRect(&part, &part, &square);
    }
    return part;
}

CRect ChangedPart::PointHandle(CPoint pt) {
    CRect square(pt.x, pt.y, pt.x, pt.y);
    InflateRect(&square, kPointHandleHalf, kPointHandleHalf);
    return square;
}

CPoint ChangedPart::Centre(const CCurve& curve) {
    // The sums are halved toward zero, and taken in 64 bits so that far-apart extremes cannot
    // overflow.
    const CRect bounds = curve.GetBounds();
    return CPoint(static_cast<std::int32_t>((std::int64_t(bounds.left) + bounds.right) / 2),
                  static_cast<std::int32_t>((std::int64_t(bounds.top) + bounds.bottom) / 2));
}

CRect ChangedPart::CentreHandle(const CCurve& curve) {
    const CPoint centre = Centre(curve);
    CRect square(centre.x, centre.y, centre.x, centre.y);
    InflateRect(&square, kCentreHandleHalf, kCentreHandleHalf);
    return square;
}
