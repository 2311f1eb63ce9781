#include "document/CSwoop2Doc.h"
#include "RecordingView.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

class DocTest : public ::testing::Test {
protected:
    DocTest() { doc.AddView(&view); }
    ~DocTest() override { doc.RemoveView(&view); }

    CCurve* Add(std::initializer_list<CPoint> points) {
        auto curve = std::make_unique<CCurve>();
        curve->m_points = points;
        CCurve* added = curve.get();
        doc.AddCurve(std::move(curve));
        return added;
    }

    CSwoop2Doc doc;
    RecordingView view;
};

} // namespace

TEST_F(DocTest, StartsEmptyWithNothingSelected) {
    EXPECT_TRUE(doc.m_curves.empty());
    EXPECT_EQ(doc.m_pSelected, nullptr);
    EXPECT_EQ(doc.m_nSelPoint, -1);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocTest, NewCurveStacksEmptyOpenCurvesOnTopWithoutSelecting) {
    CCurve* first = doc.NewCurve();
    CCurve* second = doc.NewCurve();
    ASSERT_EQ(doc.m_curves.size(), 2u);
    EXPECT_EQ(doc.m_curves[0].get(), first);
    EXPECT_EQ(doc.m_curves[1].get(), second);
    EXPECT_TRUE(second->m_points.empty());
    EXPECT_FALSE(second->m_bClosed);
    EXPECT_EQ(doc.m_pSelected, nullptr);
    EXPECT_EQ(view.m_nUpdates, 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocTest, AddCurveTakesOwnershipWithoutRepainting) {
    CCurve* curve = Add({{1, 2}});
    EXPECT_EQ(doc.m_curves.back().get(), curve);
    EXPECT_EQ(view.m_nUpdates, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocTest, RemoveCurveKeepsOrderLetsGoOfTheSelectionAndRepaintsOnlyWhenFound) {
    CCurve* a = Add({{1, 1}});
    CCurve* b = Add({{2, 2}});
    CCurve* c = Add({{3, 3}});
    doc.m_pSelected = b;
    doc.m_nSelPoint = 0;
    doc.SetModifiedFlag(false);

    doc.RemoveCurve(nullptr);
    CCurve stranger;
    doc.RemoveCurve(&stranger);
    EXPECT_EQ(view.m_nUpdates, 0);
    EXPECT_EQ(doc.m_curves.size(), 3u);
    EXPECT_FALSE(doc.IsModified());

    doc.RemoveCurve(b);
    ASSERT_EQ(doc.m_curves.size(), 2u);
    EXPECT_EQ(doc.m_curves[0].get(), a);
    EXPECT_EQ(doc.m_curves[1].get(), c);
    EXPECT_EQ(view.m_nUpdates, 1);
    EXPECT_TRUE(doc.IsModified());
    // No view ever repaints a selection that is no longer in the drawing.
    EXPECT_EQ(doc.m_pSelected, nullptr);
    EXPECT_EQ(doc.m_nSelPoint, 0);
}

TEST_F(DocTest, DeleteContentsEmptiesAndRepaintsButKeepsThePointIndex) {
    doc.DeleteContents();
    EXPECT_EQ(view.m_nUpdates, 1);

    doc.m_pSelected = Add({{1, 1}});
    doc.m_nSelPoint = 0;
    doc.DeleteContents();
    EXPECT_TRUE(doc.m_curves.empty());
    EXPECT_EQ(doc.m_pSelected, nullptr);
    EXPECT_EQ(doc.m_nSelPoint, 0);
    EXPECT_EQ(view.m_nUpdates, 2);
}

TEST_F(DocTest, OnNewDocumentEmptiesAndClearsTheModifiedFlag) {
    Add({{1, 1}});
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.m_curves.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocTest, HitTestCurveFindsTheTopmostBoundsByTheHalfOpenRule) {
    EXPECT_EQ(doc.HitTestCurve({0, 0}), nullptr);

    CCurve* lower = Add({{0, 0}, {100, 100}});
    CCurve* upper = Add({{50, 50}, {150, 150}});
    Add({{10, 0}, {10, 500}}); // all on one x: never hit
    EXPECT_EQ(doc.HitTestCurve({75, 75}), upper);
    EXPECT_EQ(doc.HitTestCurve({10, 10}), lower);
    EXPECT_EQ(doc.HitTestCurve({0, 0}), lower); // left and top edges inside
    EXPECT_EQ(doc.HitTestCurve({149, 149}), upper);
    EXPECT_EQ(doc.HitTestCurve({150, 100}), nullptr); // right edge outside
    EXPECT_EQ(doc.HitTestCurve({100, 150}), nullptr); // bottom edge outside

    // Past the bounds' start values, which then become part of them; across thousands of
    // cells; across cell edges below zero.
    CCurve* far = Add({{20000000, 5}, {20000010, 15}});
    EXPECT_EQ(doc.HitTestCurve({10000000, 10}), far);
    CCurve* wide = Add({{-300000, -300000}, {300000, -200000}});
    EXPECT_EQ(doc.HitTestCurve({-1, -250000}), wide);
    CCurve* below = Add({{-300, -300}, {-200, -200}});
    EXPECT_EQ(doc.HitTestCurve({-257, -255}), below);
    // Taken from below the top and put back by Undo, a curve takes its place in the order again.
    doc.RemoveCurve(upper);
    EXPECT_EQ(doc.HitTestCurve({75, 75}), lower);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.HitTestCurve({75, 75}), upper);
    doc.m_pSelected = nullptr;
    EXPECT_EQ(doc.HitTestCurve({75, 75}), upper);
}

TEST_F(DocTest, HitTestPointUsesAnEightPixelSquareAndTheLowestIndex) {
    const CCurve curve = [] {
        CCurve c;
        c.m_points = {{0, 0}, {100, 100}, {102, 100}};
        return c;
    }();
    const struct {
        CPoint at;
        std::int32_t index;
    } rows[] = {
        {{96, 96}, 1},   {{103, 103}, 1}, {{104, 100}, 2},  {{100, 104}, -1},
        {{95, 100}, -1}, {{101, 100}, 1}, {{106, 100}, -1}, {{-4, -4}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.at.x << ", " << row.at.y);
        EXPECT_EQ(doc.HitTestPoint(&curve, row.at), row.index >= 0);
        EXPECT_EQ(doc.m_nSelPoint, row.index);
    }
    EXPECT_EQ(view.m_nUpdates, 0);
}

TEST_F(DocTest, HitTestPointOnACurveWithoutPointsClearsTheIndex) {
    const CCurve empty;
    doc.m_nSelPoint = 3;
    EXPECT_FALSE(doc.HitTestPoint(&empty, {0, 0}));
    EXPECT_EQ(doc.m_nSelPoint, -1);
}

TEST_F(DocTest, HitTestPointNearTheEdgeOfTheCoordinateRangeNeverWraps) {
    const CCurve curve = [] {
        CCurve c;
        c.m_points = {{INT_MAX, INT_MAX}};
        return c;
    }();
    // The square's right edge wraps round to a large negative value: an empty square.
    EXPECT_FALSE(doc.HitTestPoint(&curve, {INT_MAX, INT_MAX}));
    EXPECT_FALSE(doc.HitTestPoint(&curve, {INT_MIN, INT_MIN}));
}

TEST_F(DocTest, MoveSelectedPointMovesOnlyAValidPointOfTheSelection) {
    doc.MoveSelectedPoint(5, 5);
    EXPECT_EQ(view.m_nUpdates, 0);

    CCurve* curve = Add({{10, 10}, {20, 20}});
    doc.m_pSelected = curve;
    doc.SetModifiedFlag(false);

    doc.m_nSelPoint = -1;
    doc.MoveSelectedPoint(5, 5);
    EXPECT_EQ(view.m_nUpdates, 1); // repaints even with no point
    EXPECT_FALSE(doc.IsModified());

    doc.m_nSelPoint = 2; // stale: the selection has only two points
    doc.MoveSelectedPoint(5, 5);
    EXPECT_EQ(curve->m_points, (std::vector<CPoint>{{10, 10}, {20, 20}}));
    EXPECT_FALSE(doc.IsModified());

    doc.m_nSelPoint = 1;
    doc.MoveSelectedPoint(0, 0);
    EXPECT_FALSE(doc.IsModified());
    // Straight across or straight down is a change as much as a diagonal step.
    for (const CPoint step : {CPoint(-25, 0), CPoint(0, 5)}) {
        doc.SetModifiedFlag(false);
        doc.MoveSelectedPoint(step.x, step.y);
        EXPECT_TRUE(doc.IsModified()) << step.x << ", " << step.y;
    }
    EXPECT_EQ(curve->m_points, (std::vector<CPoint>{{10, 10}, {-5, 25}}));
    EXPECT_EQ(view.m_nUpdates, 5);

    // Held past an end of the range the point stops there, and Undo puts it back exactly.
    doc.EndPointDrag();
    curve->m_points[0] = {INT_MAX - 10, INT_MIN + 3};
    doc.MoveSelectedPoint(0, 0);
    doc.EndPointDrag();
    doc.m_nSelPoint = 0;
    doc.MoveSelectedPoint(14, -4);
    EXPECT_EQ(curve->m_points[0], CPoint(INT_MAX, INT_MIN));
    doc.MoveSelectedPoint(INT_MAX, INT_MIN);
    EXPECT_EQ(curve->m_points[0], CPoint(INT_MAX, INT_MIN));
    doc.MoveSelectedPoint(-5, 0);
    EXPECT_EQ(curve->m_points[0], CPoint(INT_MAX - 5, INT_MIN));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(curve->m_points[0], CPoint(INT_MAX - 10, INT_MIN + 3));
}

// The history's budget holds only if each step counts what it keeps: a curve drawn and then
// deleted is kept whole twice, by the step that added it and by the one that removed it.
TEST_F(DocTest, TheHistoryCountsEveryPointOfTheCurvesItKeeps) {
    constexpr std::size_t kPoints = 1000;
    const std::size_t pointBytes = kPoints * sizeof(CPoint);
    CCurve* curve = doc.NewCurve();
    for (std::size_t i = 0; i < kPoints; ++i)
        doc.AppendPoint(curve, CPoint(std::int32_t(i), 0));
    doc.CloseCurve(curve);
    doc.FinishCurve(curve);
    const CUndoStack& history = doc.GetHistory();
    ASSERT_EQ(history.StepCount(), 1u);
    const std::size_t drawn = history.Bytes();
    EXPECT_GE(drawn, pointBytes);

    doc.RemoveCurve(curve);
    ASSERT_EQ(history.StepCount(), 2u);
    EXPECT_GE(history.Bytes(), drawn + pointBytes);
}
