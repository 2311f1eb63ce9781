#pragma once

#include "curve/PointList.h"
#include "platform/geometry/CRect.h"
#include "platform/geometry/PointSpan.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDC;

// One curve of the drawing: its control points in the order the curve passes through them,
// and whether it closes back on its first point. Callers read and write the fields directly.
class CCurve {
public:
    bool m_bClosed = false;
    PointList m_points;

    CCurve() = default;
    CCurve(const CCurve& other) = default;
    CCurve& operator=(const CCurve& other) = default;
    ~CCurve() = default;

    // Bounding rectangle of the control points; the right and bottom edges are the largest
    // coordinates themselves. The start values bound the result, as they always have.
    CRect GetBounds() const;
    bool PtInBounds(CPoint pt) const;

    void Offset(std::int32_t dx, std::int32_t dy);
    // Moves one point; an index that is not a point of this curve moves nothing.
    void MovePoint(std::int32_t index, std::int32_t dx, std::int32_t dy);
    // Moves the curve so that its bounds' left and top become 0.
    void Normalize();

    // The points that PolyBezier draws: 1 + 3k points for four or more control points, the
    // control points themselves for fewer.
    std::vector<CPoint> ToBezier() const;
    // The same into a list the caller keeps, so that repeated drawing reuses its room.
    void ToBezier(std::vector<CPoint>& result) const;

    // The part of any surface that the curve's drawing can touch, right and bottom edges
    // outside: the bounds of its Bezier points, for a Bezier segment lies within the hull of its
    // own, closing segment included whether or not the curve is closed, so that closing it
    // changes nothing kept. It is kept from one call to the next and taken again once the points
    // have changed. Empty for a curve without points.
    CRect GetExtent() const;
    // What the curve's drawing reaches, right and bottom edges outside: its segments' own
    // extremes, rounded to the nearest unit, which may lie well inside their hull. Converts the
    // curve each time; empty for a curve without points.
    CRect GetDrawnExtent() const;
    // The part that the segments depending on one control point can touch, together with the
    // closing segment: what moving that point, or appending after it, can change. For up to
    // four points the whole curve. Costs the same for any length of curve.
    CRect GetExtentAround(std::size_t index) const;

    // False only when the kept extent shows that the curve's drawing misses the box; a repaint
    // of a small part asks this of every curve, so it touches nothing but the curve itself.
    bool MayMeet(const CRect& box) const { return !IsExtentKept() || Meets(m_extent, box); }

    // Follows a list that ToBezier gave as a pen goes over it. Fewer than four points are the
    // control points themselves: MoveTo the first, LineTo each of the others. Four or more are
    // Bezier points, handed to PolyBezier whole. A closed curve then gets CloseFigure: the
    // list of Bezier points already ends on the first point, a list of lines does not.
    template <class Pen>
    static void TracePoints(const std::vector<CPoint>& points, bool bClosed, Pen& pen) {
        if (points.empty())
            return;
        const bool lines = points.size() < 4;
        if (lines) {
            pen.MoveTo(points[0]);
            for (std::size_t i = 1; i < points.size(); ++i)
                pen.LineTo(points[i]);
        } else {
            pen.PolyBezier(points);
        }
        if (bClosed)
            pen.CloseFigure(points[0], !lines);
    }

    // Draws nothing when the curve's extent misses the surface's clipping box.
    void Draw(CDC* pDC) const;
    // An inverted dotted outline shifted by (dx, dy); drawing it twice restores the surface.
    void DrawTracker(CDC* pDC, std::int32_t dx, std::int32_t dy) const;

private:
    // The extent with its right and bottom edges inside, so that no coordinate overflows.
    using Span = PointSpan;
    // The span of a converted open list, closing segment added.
    static Span SpanOfConverted(const std::vector<CPoint>& converted, bool closed);
    static CRect RectOf(const Span& span);
    static bool Meets(const Span& span, const CRect& box) {
        return span.left < box.right && span.right >= box.left && span.top < box.bottom &&
               span.bottom >= box.top;
    }
    Span SpanAround(std::size_t index) const;
    bool IsExtentKept() const { return !m_points.Touched(); }
    // The kept extent, taken again when it no longer describes the points.
    const Span& KeptSpan(const std::vector<CPoint>* converted = nullptr) const;

    // Valid while the points are not touched; 56 bytes in all keep a drawing of many short
    // curves small.
    mutable Span m_extent{};
};
