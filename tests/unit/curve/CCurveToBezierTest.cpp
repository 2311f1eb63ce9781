#include "curve/BezierMatrix.h"
#include "curve/CCurve.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

namespace {

using Points = std::vector<CPoint>;

CCurve Curve(const Points& points, bool closed = false) {
    CCurve c;
    c.m_points = points;
    c.m_bClosed = closed;
    return c;
}

Points Bezier(const Points& points, bool closed = false) {
    return Curve(points, closed).ToBezier();
}

Points Concat(Points a, const Points& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Truncation toward zero, saturating beyond the 32-bit range.
std::int32_t Saturated(double v) {
    if (v >= 2147483648.0)
        return INT_MAX;
    if (v <= -2147483649.0)
        return INT_MIN;
    return static_cast<std::int32_t>(std::trunc(v));
}

// The conversion written out step by step as described, with every four-term sum in full, to
// check the shortened sums of the real one.
Points Reference(const Points& p, bool closed) {
    const std::size_t n = p.size();
    if (n < 4)
        return p;
    Points q;
    q.push_back(p.front());
    q.insert(q.end(), p.begin(), p.end());
    q.push_back(p.back());
    const auto& m = bezier_matrix::kSegment;
    Points r;
    for (std::size_t s = 1; s < n; ++s) {
        double xs[4], ys[4];
        for (int k = 0; k < 4; ++k) {
            xs[k] = q[s - 1 + k].x;
            ys[k] = q[s - 1 + k].y;
        }
        for (int row = s == 1 ? 0 : 1; row < 4; ++row) {
            double bx = 0.0, by = 0.0;
            for (int k = 0; k < 4; ++k) {
                bx = bx + m[row][k] * xs[k];
                by = by + m[row][k] * ys[k];
            }
            r.push_back({Saturated(bx), Saturated(by)});
        }
    }
    if (closed) {
        const std::size_t last = r.size() - 1;
        const CPoint a = r[last], b = r[last - 1], c = r[0], d = r[1];
        r.push_back({WrapSub(WrapMul(2, a.x), b.x), WrapSub(WrapMul(2, a.y), b.y)});
        r.push_back({WrapSub(WrapMul(2, c.x), d.x), WrapSub(WrapMul(2, c.y), d.y)});
        r.push_back(c);
    }
    return r;
}

} // namespace

TEST(ToBezier, WorkedExampleOpenAndClosed) {
    const Points square = {{0, 0}, {60, 0}, {60, 60}, {0, 60}};
    const Points open = {{0, 0},   {9, 0},   {49, -9}, {60, 0},  {69, 9},
                         {69, 49}, {60, 60}, {50, 69}, {10, 60}, {0, 60}};
    EXPECT_EQ(Bezier(square), open);
    EXPECT_EQ(Bezier(square, true), Concat(open, {{-10, 60}, {-9, 0}, {0, 0}}));
}

TEST(ToBezier, TruncatesTowardZeroForNegativeValues) {
    EXPECT_EQ(Bezier({{-60, -60}, {0, -60}, {0, 0}, {-60, 0}}), (Points{{-60, -60},
                                                                        {-50, -60},
                                                                        {-10, -69},
                                                                        {0, -60},
                                                                        {9, -50},
                                                                        {9, -10},
                                                                        {0, 0},
                                                                        {-9, 9},
                                                                        {-49, 0},
                                                                        {-60, 0}}));
}

TEST(ToBezier, CoincidentPointsShowTheStoredThirds) {
    const Points six(4, CPoint(6, 6));
    const Points open = {{6, 6}, {6, 6}, {5, 5}, {6, 6}, {6, 6},
                         {5, 5}, {6, 6}, {6, 6}, {5, 5}, {6, 6}};
    EXPECT_EQ(Bezier(six), open);
    EXPECT_EQ(Bezier(six, true), Concat(open, {{7, 7}, {6, 6}, {6, 6}}));
    EXPECT_EQ(Bezier(Points(4, CPoint(10, 10))), Points(10, CPoint(10, 10)));
}

TEST(ToBezier, ZigZagOpenAndClosed) {
    const Points zigzag = {{0, 0}, {30, 60}, {60, 0}, {90, 60}};
    const Points open = {{0, 0},  {4, 9},  {19, 59}, {30, 60}, {39, 60},
                         {49, 0}, {60, 0}, {69, 0},  {84, 49}, {90, 60}};
    EXPECT_EQ(Bezier(zigzag), open);
    EXPECT_EQ(Bezier(zigzag, true), Concat(open, {{96, 71}, {-4, -9}, {0, 0}}));
}

TEST(ToBezier, FewerThanFourPointsComeBackUnchanged) {
    for (bool closed : {false, true}) {
        EXPECT_TRUE(Bezier({}, closed).empty());
        const Points three = {{1, 2}, {3, 4}, {5, 6}};
        for (std::size_t n = 1; n <= 3; ++n) {
            const Points p(three.begin(), three.begin() + static_cast<long>(n));
            EXPECT_EQ(Bezier(p, closed), p);
        }
    }
}

TEST(ToBezier, AgreesWithTheFullSumsOnRandomCurves) {
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> count(4, 40);
    std::uniform_int_distribution<std::int32_t> coord(-1000000, 1000000);
    for (int trial = 0; trial < 2000; ++trial) {
        Points p(static_cast<std::size_t>(count(rng)));
        for (CPoint& pt : p)
            pt = {coord(rng), coord(rng)};
        // Many curves in screen range with repeated and multiple-of-six coordinates, where
        // the stored thirds decide the truncation.
        if (trial % 2)
            for (CPoint& pt : p)
                pt = {pt.x % 2000 / 6 * 6, pt.y % 1200 / 3 * 3};
        // Curves anywhere in the range, where the sums saturate, and curves whose points lie
        // about 2^30 from the origin, where the conversion stops leaving saturation out.
        std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
        std::uniform_int_distribution<std::int32_t> edge(-3, 3);
        if (trial % 4 == 2)
            for (CPoint& pt : p)
                pt = {any(rng), any(rng)};
        if (trial % 8 == 4)
            for (CPoint& pt : p)
                pt = {std::int32_t((std::int64_t(1) << 30) * edge(rng) / 2 + edge(rng)),
                      std::int32_t((std::int64_t(1) << 30) * edge(rng) / 2 + edge(rng))};
        const bool closed = trial % 3 == 0;
        const CCurve curve = Curve(p, closed);
        const Points r = curve.ToBezier();
        ASSERT_EQ(r, Reference(p, closed)) << "trial " << trial;

        ASSERT_EQ(r.size(), closed ? 3 * p.size() + 1 : 3 * p.size() - 2);
        for (std::size_t k = 0; k < p.size(); ++k)
            ASSERT_EQ(r[3 * k], p[k]) << "segment ends lie on the control points";
        EXPECT_EQ(curve.m_points, p) << "the curve itself is left unchanged";
        EXPECT_EQ(curve.m_bClosed, closed);
    }
}

TEST(ToBezier, ExtremeCoordinatesSaturateAndWrapWithoutUndefinedBehaviour) {
    const Points extreme = {
        {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MIN}};
    const Points open = Bezier(extreme);
    ASSERT_EQ(open.size(), 10u);
    // The second segment's first inner point lies a sixth of the range beyond the ends.
    EXPECT_EQ(open[4], CPoint(INT_MAX, INT_MIN));
    for (std::size_t k = 0; k < extreme.size(); ++k)
        EXPECT_EQ(open[3 * k], extreme[k]);

    const Points closed = Bezier(extreme, true);
    ASSERT_EQ(closed.size(), 13u);
    // The closing reflection is 32-bit arithmetic: 2 * INT_MAX - INT_MAX wraps back to INT_MAX.
    const CPoint a = closed[9], b = closed[8];
    EXPECT_EQ(closed[10], CPoint(WrapSub(WrapMul(2, a.x), b.x), WrapSub(WrapMul(2, a.y), b.y)));
    EXPECT_EQ(closed[12], extreme[0]);
}
