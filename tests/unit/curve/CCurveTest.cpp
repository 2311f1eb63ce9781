#include "curve/CCurve.h"
#include "curve/PointBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

namespace {

CCurve Curve(std::initializer_list<CPoint> points, bool closed = false) {
    CCurve c;
    c.m_points = points;
    c.m_bClosed = closed;
    return c;
}

} // namespace

TEST(CCurve, StartsEmptyAndOpen) {
    const CCurve c;
    EXPECT_FALSE(c.m_bClosed);
    EXPECT_TRUE(c.m_points.empty());
}

TEST(CCurveBounds, EmptyCurveKeepsTheLopsidedStartValues) {
    const CCurve c;
    EXPECT_EQ(c.GetBounds(), CRect(9999999, 99999999, -999999999, -99999999));
    EXPECT_FALSE(c.PtInBounds({0, 0}));
    EXPECT_FALSE(c.PtInBounds({9999999, 99999999}));
}

TEST(CCurveBounds, StartValuesBoundTheResult) {
    // Every x beyond the start value of the left edge: the left edge stays there.
    EXPECT_EQ(Curve({{20000000, 5}, {30000000, 6}}).GetBounds().left, 9999999);
    // Every y below the start value of the bottom edge: the bottom edge stays there.
    EXPECT_EQ(Curve({{0, -200000000}, {1, -300000000}}).GetBounds().bottom, -99999999);
}

TEST(CCurveBounds, RightAndBottomEdgesAreOutside) {
    const CCurve c = Curve({{0, 0}, {10, 20}});
    EXPECT_EQ(c.GetBounds(), CRect(0, 0, 10, 20));
    EXPECT_TRUE(c.PtInBounds({0, 0}));
    EXPECT_TRUE(c.PtInBounds({9, 19}));
    EXPECT_FALSE(c.PtInBounds({10, 5}));
    EXPECT_FALSE(c.PtInBounds({5, 20}));
}

TEST(CCurveBounds, DegenerateCurvesAreNeverHit) {
    const CCurve single = Curve({{5, 7}});
    EXPECT_EQ(single.GetBounds(), CRect(5, 7, 5, 7));
    EXPECT_FALSE(single.PtInBounds({5, 7}));
    EXPECT_FALSE(Curve({{3, 0}, {3, 50}, {3, 9}}).PtInBounds({3, 10}));
    EXPECT_FALSE(Curve({{0, 8}, {50, 8}}).PtInBounds({10, 8}));
}

TEST(CCurveMoves, OffsetWrapsAroundThe32BitRange) {
    CCurve c = Curve({{INT_MAX, INT_MIN}, {1, 2}});
    c.Offset(1, -1);
    EXPECT_EQ(c.m_points[0], CPoint(INT_MIN, INT_MAX));
    EXPECT_EQ(c.m_points[1], CPoint(2, 1));
}

TEST(CCurveMoves, MovePointTouchesOnlyAValidIndex) {
    CCurve c = Curve({{1, 1}, {2, 2}});
    c.MovePoint(1, 10, -10);
    EXPECT_EQ(c.m_points[1], CPoint(12, -8));
    const CCurve before = c;
    c.MovePoint(-1, 5, 5);
    c.MovePoint(2, 5, 5);
    c.MovePoint(INT_MAX, 5, 5);
    EXPECT_EQ(c.m_points, before.m_points);
}

TEST(CCurveMoves, NormalizeMovesBoundsToTheOrigin) {
    CCurve c = Curve({{-5, 3}, {10, 8}});
    c.Normalize();
    EXPECT_EQ(c.m_points, (std::vector<CPoint>{{0, 0}, {15, 5}}));

    CCurve empty;
    empty.Normalize();
    EXPECT_TRUE(empty.m_points.empty());
}

TEST(CCurve, CopyOwnsItsPoints) {
    CCurve source = Curve({{1, 2}, {3, 4}}, true);
    CCurve copy(source);
    EXPECT_TRUE(copy.m_bClosed);
    EXPECT_EQ(copy.m_points, source.m_points);
    copy.m_points[0] = {9, 9};
    copy.m_points.push_back({5, 5});
    EXPECT_EQ(source.m_points, (std::vector<CPoint>{{1, 2}, {3, 4}}));
}

namespace {

// One change of the points, as a vector takes it.
template <class List> void ChangeLikeAVector(int row, List& v) {
    static const std::vector<CPoint> outside = {{70, 71}, {72, 73}, {74, 75}};
    std::vector<CPoint> other = outside;
    switch (row) {
    case 0:
        v.push_back({-1, -2});
        break;
    case 1:
        v.emplace_back(v[0]);
        break;
    case 2:
        v.insert(v.begin() + 1, CPoint(5, 6));
        break;
    case 3:
        v.insert(v.begin() + 2, outside.begin(), outside.end());
        break;
    case 4:
        v.erase(v.begin() + 1, v.begin() + 3);
        break;
    case 5:
        v.erase(v.begin());
        break;
    case 6:
        v.pop_back();
        break;
    case 7:
        v.resize(v.size() + 3);
        break;
    case 8:
        v.resize(2);
        break;
    case 9:
        v.swap(other);
        break;
    case 10:
        v.assign(outside.begin(), outside.end());
        break;
    case 11:
        v.reserve(40);
        v.shrink_to_fit();
        break;
    case 12:
        v[1] = {8, 8};
        v.front() = {9, 9};
        v.back() = {10, 10};
        break;
    case 13:
        v.clear();
        break;
    }
}
constexpr int kChanges = 14;

} // namespace

// The list keeps its points itself, in memory of its own or in a block a file was read into:
// every change leaves the points a vector would, and leaves a neighbour in the block alone.
TEST(CCurvePoints, EveryChangeLeavesWhatAVectorLeavesWhereverThePointsLie) {
    const std::vector<CPoint> start = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    const std::vector<CPoint> reversed(start.rbegin(), start.rend());
    PointList running(start);
    std::vector<CPoint> expected = start;
    for (int row = 0; row < kChanges; ++row) {
        SCOPED_TRACE(row);
        ChangeLikeAVector(row, running);
        ChangeLikeAVector(row, expected);
        EXPECT_EQ(running, expected);

        PointBlock* block = PointBlock::Create(4096);
        ASSERT_NE(block, nullptr);
        PointList placed;
        PointList neighbour;
        CPoint* points = placed.PlaceIn(*block, 4);
        CPoint* beside = neighbour.PlaceIn(*block, 4);
        block->Seal();
        ASSERT_TRUE(points && beside);
        std::copy(start.begin(), start.end(), points);
        std::copy(reversed.begin(), reversed.end(), beside);
        std::vector<CPoint> fresh = start;
        ChangeLikeAVector(row, placed);
        ChangeLikeAVector(row, fresh);
        EXPECT_EQ(placed, fresh);
        EXPECT_EQ(neighbour, reversed);
    }
}

// Whatever changes the curve, its kept extent still holds every Bezier point: a repaint that
// trusted a stale extent would leave the curve out of a part it crosses.
TEST(CCurveExtent, HoldsTheBezierPointsThroughEveryChange) {
    // The points in the curve's own vector, and in a block shared with a neighbour (as a file
    // loads them) whose points no edit of the curve may change: the edits in place come first,
    // while the curve's points are still in the block.
    for (const bool inBlock : {false, true}) {
        SCOPED_TRACE(inBlock ? "in a block" : "own points");
        CCurve c;
        CCurve neighbour;
        if (inBlock) {
            PointBlock* block = PointBlock::Create(4096);
            ASSERT_NE(block, nullptr);
            CPoint* points = c.m_points.PlaceIn(*block, 12);
            CPoint* others = neighbour.m_points.PlaceIn(*block, 3);
            block->Seal();
            ASSERT_TRUE(points && others);
            for (int i = 0; i < 12; ++i)
                points[i] = {40 * i, (i % 3) * 50};
            for (int i = 0; i < 3; ++i)
                others[i] = {-i, i};
        } else {
            for (int i = 0; i < 12; ++i)
                c.m_points.push_back({40 * i, (i % 3) * 50});
        }
        const std::vector<CPoint> beside = neighbour.m_points;
        const std::vector<std::pair<const char*, std::function<void(CCurve&)>>> edits = {
            {"a point dragged far out", [](CCurve& k) { k.MovePoint(5, 3000, -4000); }},
            {"a point dragged back", [](CCurve& k) { k.MovePoint(5, -3000, 4000); }},
            {"moved", [](CCurve& k) { k.Offset(-5000, 7000); }},
            {"normalized", [](CCurve& k) { k.Normalize(); }},
            {"a point appended",
             [](CCurve& k) {
                 k.m_points.push_back({-900, 700});
             }},
            {"closed", [](CCurve& k) { k.m_bClosed = true; }},
            {"one point written",
             [](CCurve& k) {
                 k.m_points[3] = {8000, 8000};
             }},
            {"all points replaced",
             [](CCurve& k) {
                 k.m_points = {{1, 1}, {2, 9}, {7, 3}};
             }},
            {"copied over",
             [](CCurve& k) {
                 k = Curve({{-60, 0}, {0, 60}, {60, 0}, {0, -60}}, true);
             }},
            {"emptied", [](CCurve& k) { k.m_points.clear(); }},
        };
        for (const auto& [name, edit] : edits) {
            c.GetExtent(); // kept before the change
            edit(c);
            const CRect extent = c.GetExtent();
            for (const CPoint& pt : c.ToBezier())
                EXPECT_TRUE(PtInRect(&extent, pt)) << name << ": " << pt.x << "," << pt.y;
            EXPECT_EQ(neighbour.m_points, beside) << name;
        }
        EXPECT_TRUE(c.GetExtent().IsRectEmpty());
    }
}
