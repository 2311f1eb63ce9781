#pragma once

#include "curve/CCurve.h"
#include "platform/geometry/CRect.h"

#include <cstddef>

// The parts of a view, in logical units with right and bottom edges outside, that a change to a
// curve can alter: its pixels and, when it is the selection, its handles. A change repaints its
// part before and after; the view paints the handles with these very rectangles, so that the
// two always agree.
class ChangedPart {
public:
    // The whole curve, with all of its handles when it is selected.
    static CRect OfCurve(const CCurve& curve, bool selected);
    // What moving one control point, or appending after it, can alter: the segments around the
    // point and, when the curve is selected, that point's handle and the centre handle. Costs
    // the same for any length of curve, apart from the centre's bounds.
    static CRect AroundPoint(const CCurve& curve, std::size_t index, bool selected);

    // Every handle of a selected curve.
    static CRect Handles(const CCurve& curve);
    // The square on a control point: 6 by 6 pixels, one more above and to the left.
    static CRect PointHandle(CPoint pt);
    // The square that marks the middle of the curve's bounds: 8 by 8 pixels.
    static CRect CentreHandle(const CCurve& curve);
    // The middle of the curve's bounds, and how far the squares reach from their points.
    static CPoint Centre(const CCurve& curve);
    static constexpr std::int32_t kPointHandleHalf = 3;
    static constexpr std::int32_t kCentreHandleHalf = 4;
};
