#include "platform/gdi/DeviceScale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

// Neighbouring units get neighbouring runs of pixels, floor(ratio) or ceil(ratio) long, with
// no gap or overlap, on both sides of zero and at the ends of the 32-bit range, so that a point
// always lands inside the pixels of a square around it and neighbouring rectangles tile.
TEST(DeviceScale, NeighbouringUnitsTileThePixelsAtAnyRatio) {
    for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        for (const std::int64_t from :
             {std::int64_t(-1000), std::int64_t(INT_MIN), std::int64_t(INT_MAX) - 1000}) {
            for (std::int64_t v = from; v < from + 1000; ++v) {
                const std::int64_t run = scale.Map(v + 1) - scale.Map(v);
                ASSERT_TRUE(run == std::int64_t(std::floor(ratio)) ||
                            run == std::int64_t(std::ceil(ratio)))
                    << ratio << " at " << v << ": " << run;
            }
        }
        // Half a pixel rounds up, below zero too.
        EXPECT_EQ(scale.Map(0), 0);
        EXPECT_EQ(scale.Map(-1), std::int64_t(std::floor(-ratio + 0.5))) << ratio;
        EXPECT_EQ(scale.Map(INT_MIN), std::int64_t(std::floor(INT_MIN * ratio + 0.5))) << ratio;
        // An image of a length's pixels, rounded up, shows the whole length.
        for (const std::int64_t length : {0, 1, 73, 321, 1001})
            EXPECT_EQ(scale.Cover(length), std::int64_t(std::ceil(double(length) * ratio)))
                << ratio << " of " << length;
    }
    EXPECT_EQ(DeviceScale::FromRatio(1.5).Cover(321), 482);
    EXPECT_EQ(DeviceScale::FromRatio(1.25).Cover(73), 92);
}

// The other way, a run of pixels is covered by the fewest units whose pixels hold it, which
// below one pixel per unit are all the units drawn on it; the units of a rectangle reach the
// pixels every one of them is drawn on; and a rectangle given to a platform that rounds its own
// way, from a window that starts anywhere between two pixels, still holds those pixels.
TEST(DeviceScale, PixelsAndUnitsCoverEachOtherAtAnyRatio) {
    for (const double ratio : {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        for (int left = -40; left < 40; ++left) {
            for (int right = left + 1; right < left + 9; ++right) {
                const CRect pixels(left, 0, right, 1);
                const CRect units = scale.ToLogical(pixels);
                const CRect covered = scale.ToDevice(units);
                ASSERT_TRUE(covered.left <= left && covered.right >= right)
                    << ratio << ": " << left << ".." << right;
                ASSERT_LT(scale.Map(std::int64_t(units.left) - 1), left) << ratio;
                ASSERT_LT(scale.Map(std::int64_t(units.right) - 1), right) << ratio;
                for (const double start : {0.0, 0.3, 0.5, 0.7, 0.99}) {
                    const CRect around = scale.ToLogicalAround(pixels);
                    const double at = 100 * ratio + start;
                    const auto platform = [&](int unit) { return std::lround(at + unit * ratio); };
                    const long shownLeft = std::lround(at);
                    ASSERT_LE(platform(around.left), shownLeft + left) << ratio << " " << start;
                    ASSERT_GE(platform(around.right), shownLeft + right) << ratio << " " << start;
                }
            }
            // Every unit lands inside the reach of a rectangle one unit wide around it.
            const CRect reach = scale.Reach(CRect(left, 0, left + 1, 1));
            ASSERT_LE(reach.left, scale.Map(left));
            ASSERT_GT(reach.right, scale.Map(left)) << ratio << " at " << left;
        }
    }
}

TEST(DeviceScale, RatiosThatAreNoRatiosDrawOnePixelPerUnit) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double ratio : {0.0, -2.0, nan, inf, -inf})
        EXPECT_TRUE(DeviceScale::FromRatio(ratio).IsOne()) << ratio;
    // Beyond what any screen has, the ratio is held, and the largest coordinates still map.
    const DeviceScale huge = DeviceScale::FromRatio(1e300);
    EXPECT_EQ(huge.Ratio(), 64.0);
    EXPECT_EQ(huge.Map(INT_MAX), std::int64_t(INT_MAX) * 64);
    EXPECT_EQ(huge.ToDevice(CRect(INT_MIN, 0, INT_MAX, 1)), CRect(INT_MIN, 0, INT_MAX, 64));
    // A screen of four pixels per unit at the largest zoom, 64, shows 256; no more.
    const std::int64_t largestZoom = 64 * DeviceScale::kOne;
    EXPECT_EQ(DeviceScale::FromRatio(4).Zoomed(largestZoom).Ratio(), 256.0);
    EXPECT_EQ(huge.Zoomed(largestZoom).Ratio(), 256.0);
}
