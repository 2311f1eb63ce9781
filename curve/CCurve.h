#pragma once

#include "platform/geometry/CRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDC;

// One curve of the drawing: its control points in the order the curve passes through them,
// and whether it closes back on its first point. Callers read and write the fields directly.
class CCurve {
public:
    bool m_bClosed = false;
    std::vector<CPoint> m_points;

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

    void Draw(CDC* pDC) const;
    // An inverted dotted outline shifted by (dx, dy); drawing it twice restores the surface.
    void DrawTracker(CDC* pDC, std::int32_t dx, std::int32_t dy) const;
};
