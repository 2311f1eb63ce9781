#include "curve/CCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Follows a curve's drawing as a pen would and keeps the least and greatest coordinate it
// reaches along each axis: a Bezier segment's own extremes, not those of its hull.
class ReachPen {
public:
    void MoveTo(CPoint pt) { Add(pt); }
    void LineTo(CPoint pt) { Add(pt); }
    // The figure closes on a point already reached.
    void CloseFigure(CPoint, bool) {}
    void PolyBezier(const std::vector<CPoint>& points) {
        Add(points[0]);
        for (std::size_t i = 0; i + 3 < points.size(); i += 3) {
            Segment(points[i].x, points[i + 1].x, points[i + 2].x, points[i + 3].x, 0);
            Segment(points[i].y, points[i + 1].y, points[i + 2].y, points[i + 3].y, 1);
        }
    }

    bool IsEmpty() const { return m_empty; }
    // The coordinate reached, rounded to the nearest unit, as a rasteriser shows it.
    std::int32_t Low(int axis) const { return Rounded(m_low[axis]); }
    std::int32_t High(int axis) const { return Rounded(m_high[axis]); }

private:
    double m_low[2] = {};
    double m_high[2] = {};
    bool m_empty = true;

    static std::int32_t Rounded(double v) {
        return std::int32_t(std::clamp(std::floor(v + 0.5), double(INT32_MIN), double(INT32_MAX)));
    }

    void Add(CPoint pt) {
        if (m_empty) {
            m_low[0] = m_high[0] = pt.x;
            m_low[1] = m_high[1] = pt.y;
            m_empty = false;
            return;
        }
        Add(pt.x, 0);
        Add(pt.y, 1);
    }

    void Add(double v, int axis) {
        m_low[axis] = std::min(m_low[axis], v);
        m_high[axis] = std::max(m_high[axis], v);
    }

    // One coordinate of a cubic segment: its end, and the turning points between the ends,
    // where the derivative a t^2 + b t + c (a third of it) is zero.
    void Segment(double p0, double p1, double p2, double p3, int axis) {
        Add(p3, axis);
        const double a = -p0 + 3 * p1 - 3 * p2 + p3;
        const double b = 2 * (p0 - 2 * p1 + p2);
        const double c = p1 - p0;
        const auto at = [&](double t) {
            if (!(t > 0 && t < 1))
                return;
            const double s = 1 - t;
            Add(s * s * s * p0 + 3 * s * s * t * p1 + 3 * s * t * t * p2 + t * t * t * p3, axis);
        };
        // Integer points make a, b and c whole numbers, exactly zero or not.
        if (a == 0) {
            if (b != 0)
                at(-c / b);
            return;
        }
        const double d = b * b - 4 * a * c;
        if (d < 0)
            return;
        const double root = std::sqrt(d);
        at((-b + root) / (2 * a));
        at((-b - root) / (2 * a));
    }
};

} // namespace

CRect CCurve::GetDrawnExtent() const {
    std::vector<CPoint> points;
    ToBezier(points);
    ReachPen pen;
    TracePoints(points, m_bClosed, pen);
    if (pen.IsEmpty())
        return CRect();
    const auto past = [](std::int32_t v) { return v == INT32_MAX ? v : v + 1; };
    return CRect(pen.Low(0), pen.Low(1), past(pen.High(0)), past(pen.High(1)));
}
