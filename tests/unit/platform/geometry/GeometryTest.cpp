#include "platform/geometry/CRect.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PtInRect, IncludesLeftAndTopEdgesOnly) {
    const CRect r(0, 0, 10, 20);
    EXPECT_TRUE(PtInRect(&r, {0, 0}));
    EXPECT_TRUE(PtInRect(&r, {9, 19}));
    EXPECT_FALSE(PtInRect(&r, {10, 5}));
    EXPECT_FALSE(PtInRect(&r, {5, 20}));
    EXPECT_FALSE(PtInRect(&r, {-1, 5}));
}

TEST(PtInRect, EmptyAndInvertedRectanglesContainNothing) {
    const CRect flat(5, 7, 5, 7);
    const CRect inverted(10, 10, 0, 0);
    EXPECT_FALSE(PtInRect(&flat, {5, 7}));
    EXPECT_FALSE(PtInRect(&inverted, {5, 5}));
}

TEST(InflateRect, GrowsEverySideAndWrapsAtTheEnds) {
    CRect r(100, 100, 100, 100);
    InflateRect(&r, 4, 4);
    EXPECT_EQ(r, CRect(96, 96, 104, 104));

    CRect edge(INT_MIN, 0, INT_MAX, 0);
    InflateRect(&edge, 1, 0);
    EXPECT_EQ(edge.left, INT_MAX);
    EXPECT_EQ(edge.right, INT_MIN);
}

TEST(CPoint, ArithmeticWrapsInsteadOfOverflowing) {
    EXPECT_EQ(CPoint(INT_MAX, INT_MIN) + CPoint(1, -1), CPoint(INT_MIN, INT_MAX));
    EXPECT_EQ(CPoint(3, 4) - CPoint(5, 1), CPoint(-2, 3));
}
