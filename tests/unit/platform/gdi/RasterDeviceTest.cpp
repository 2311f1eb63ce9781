#include "platform/gdi/RasterDevice.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/DeviceScale.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <vector>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

std::set<std::pair<int, int>> Marked(const QImage& image, QRgb background = kWhite) {
    std::set<std::pair<int, int>> marked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                marked.insert({x, y});
    return marked;
}

std::set<std::pair<int, int>> DrawLine(int w, int h, CPoint a, CPoint b) {
    QImage image = White(w, h);
    CDC dc;
    dc.AttachImage(&image);
    dc.MoveTo(a);
    dc.LineTo(b);
    return Marked(image);
}

double Seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(RasterLine, LeavesOutTheLastPixel) {
    using P = std::set<std::pair<int, int>>;
    EXPECT_EQ(DrawLine(10, 10, {1, 1}, {4, 1}), (P{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(DrawLine(10, 10, {4, 1}, {1, 1}), (P{{4, 1}, {3, 1}, {2, 1}}));
    EXPECT_EQ(DrawLine(10, 10, {2, 5}, {2, 2}), (P{{2, 5}, {2, 4}, {2, 3}}));
    EXPECT_EQ(DrawLine(10, 10, {0, 0}, {3, 3}), (P{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(DrawLine(10, 10, {0, 0}, {4, 2}), (P{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
    EXPECT_TRUE(DrawLine(10, 10, {3, 3}, {3, 3}).empty());
}

TEST(RasterLine, JoinedLinesTouchNoPixelTwice) {
    QImage image = White(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetROP2(R2_NOT);
    const CPoint path[] = {{5, 5}, {30, 9}, {33, 30}, {8, 26}, {5, 5}};
    dc.MoveTo(path[0]);
    for (int i = 1; i < 5; ++i)
        dc.LineTo(path[i]);
    // Every pixel of a closed chain is inverted once: none comes back white, and the corners
    // are all there.
    QImage solid = White(40, 40);
    CDC ref;
    ref.AttachImage(&solid);
    ref.MoveTo(path[0]);
    for (int i = 1; i < 5; ++i)
        ref.LineTo(path[i]);
    EXPECT_EQ(Marked(image), Marked(solid));
    for (const CPoint& p : path)
        EXPECT_EQ(image.pixel(p.x, p.y), kBlack);
}

TEST(RasterLine, ClippedLinesKeepThePixelsOfTheWholeLine) {
    // A line drawn into a small image shows exactly the pixels that the same line has in a
    // large image that holds it whole.
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coord(-150, 250);
    for (int i = 0; i < 300; ++i) {
        const CPoint a(coord(rng), coord(rng));
        const CPoint b(coord(rng), coord(rng));
        const auto whole = DrawLine(401, 401, a + CPoint(150, 150), b + CPoint(150, 150));
        std::set<std::pair<int, int>> expected;
        for (auto [x, y] : whole)
            if (x >= 150 && x < 250 && y >= 150 && y < 220)
                expected.insert({x - 150, y - 150});
        EXPECT_EQ(DrawLine(100, 70, a, b), expected)
            << a.x << "," << a.y << " " << b.x << "," << b.y;
    }
}

// Coordinates anywhere in the 32-bit range, also times the ratio of a HiDPI screen.
TEST(RasterLine, ExtremeCoordinatesAreClippedNotWalked) {
    for (const double ratio : {1.0, 2.0, 1.75}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        QImage image = White(int(scale.Cover(200)), int(scale.Cover(100)));
        image.setDevicePixelRatio(ratio);
        CDC dc;
        dc.AttachImage(&image);
        const double seconds = Seconds([&] {
            dc.MoveTo(INT_MIN, INT_MIN);
            dc.LineTo(INT_MAX, INT_MAX);
            dc.MoveTo(INT_MIN, 50);
            dc.LineTo(INT_MAX, 50);
            dc.MoveTo(-32000, -32000);
            dc.LineTo(INT_MAX, INT_MIN);
            dc.LineTo(-32000, -32000);
            const CPoint far[] = {{INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MIN},
                                  {INT_MAX, INT_MAX}, {-32000, -32000},   {5, 5},
                                  {-32000, 99},       {150, 50}};
            dc.PolyBezier(far, 7);
        });
        EXPECT_LT(seconds, 1.0); // a hang, not a measurement
        // The horizontal line through the middle crosses the whole image.
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, int(scale.Map(50))), kBlack) << ratio << ": " << x;
        // The diagonal from corner to corner of the 32-bit plane passes through (0, 0).
        EXPECT_EQ(image.pixel(0, 0), kBlack) << ratio;
        EXPECT_EQ(image.pixel(99, 99), kBlack) << ratio;
    }
}

// With more pixels per unit the dots grow with the ratio; the line stays one pixel wide.
TEST(RasterLine, DottedPenDrawsThreeOnThreeOffAcrossJoins) {
    struct Row {
        double ratio;
        int y2, y5;       // the pixel rows of units 2 and 5
        int x1, x10, x20; // the pixel columns of units 1, 10 and 20
        int on, period;   // the pattern in pixels
    };
    const Row rows[] = {
        {1, 2, 5, 1, 10, 20, 3, 6}, {2, 4, 10, 2, 20, 40, 6, 12}, {1.5, 3, 8, 2, 15, 30, 5, 9}};
    for (const Row& row : rows) {
        QImage image = White(80, 20);
        image.setDevicePixelRatio(row.ratio);
        CDC dc;
        dc.AttachImage(&image);
        CPen dot(PS_DOT, 1, 0);
        dc.SelectObject(&dot);
        dc.MoveTo(0, 2);
        dc.LineTo(4, 2);
        dc.LineTo(20, 2);
        // Pattern restarts after a MoveTo.
        dc.MoveTo(1, 5);
        dc.LineTo(10, 5);
        for (int x = 0; x < row.x20; ++x)
            EXPECT_EQ(image.pixel(x, row.y2) == kBlack, x % row.period < row.on)
                << row.ratio << ": " << x;
        for (int x = row.x1; x < row.x10; ++x)
            EXPECT_EQ(image.pixel(x, row.y5) == kBlack, (x - row.x1) % row.period < row.on)
                << row.ratio << ": " << x;
        for (auto [x, y] : Marked(image))
            EXPECT_TRUE(y == row.y2 || y == row.y5) << row.ratio << ": " << x << "," << y;
    }
}

TEST(RasterBezier, DottedPatternRunsOnAcrossSegments) {
    QImage image = White(40, 6);
    CDC dc;
    dc.AttachImage(&image);
    CPen dot(PS_DOT, 1, 0);
    dc.SelectObject(&dot);
    // Two straight segments of 10 and 20 pixels along one row.
    const CPoint pts[] = {{0, 2}, {3, 2}, {7, 2}, {10, 2}, {17, 2}, {24, 2}, {30, 2}};
    dc.PolyBezier(pts, 7);
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(image.pixel(x, 2) == kBlack, x % 6 < 3) << x;
    EXPECT_EQ(image.pixel(30, 2), kWhite);
}

TEST(RasterLine, DottedPatternKeepsItsPlaceWhenClipped) {
    QImage image = White(30, 4);
    CDC dc;
    dc.AttachImage(&image);
    CPen dot(PS_DOT, 1, 0);
    dc.SelectObject(&dot);
    dc.MoveTo(-1000001, 1);
    dc.LineTo(40, 1);
    // Pixel x is the (x + 1000001)-th of the line.
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(image.pixel(x, 1) == kBlack, (x + 1000001) % 6 < 3) << x;
}

TEST(RasterLine, RasterOperationsCombinePenAndDestination) {
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0x12, 0x34, 0x56));
    image.setPixel(1, 0, qRgb(0x12, 0x34, 0x56));
    image.setPixel(2, 0, qRgb(0x12, 0x34, 0x56));
    CDC dc;
    dc.AttachImage(&image);
    CPen pen(PS_SOLID, 1, RGB(0xF0, 0x0F, 0xFF));
    dc.SelectObject(&pen);
    dc.SetROP2(R2_NOT);
    dc.MoveTo(0, 0);
    dc.LineTo(1, 0);
    dc.SetROP2(R2_XORPEN);
    dc.LineTo(2, 0);
    dc.SetROP2(R2_NOP);
    dc.LineTo(3, 0);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0xED, 0xCB, 0xA9));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0x12 ^ 0xF0, 0x34 ^ 0x0F, 0x56 ^ 0xFF));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0x12, 0x34, 0x56));
}

// With more pixels per unit a fill covers the pixels that show its units: edges map as points
// do, rounding half up, so that squares around a point stay centred on its pixel.
TEST(RasterFill, CoversLeftAndTopButNotRightAndBottom) {
    struct Row {
        CRect rect;
        int count;
        double ratio = 1;
        CRect pixels = {}; // at ratios other than 1
    };
    const Row rows[] = {
        {{2, 3, 5, 7}, 12},
        {{5, 3, 2, 7}, 0},
        {{2, 7, 5, 3}, 0},
        {{2, 3, 2, 7}, 0},
        {{-5, -5, 1, 1}, 1},
        {{8, 8, 100, 100}, 4},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 100},
        {{2, 1, 5, 4}, 36, 2, {4, 2, 10, 8}},
        {{1, 2, 4, 5}, 20, 1.5, {2, 3, 6, 8}}, // 1.5, 3, 6, 7.5 round half up
        {{-5, -5, 1, 1}, 4, 1.5, {0, 0, 2, 2}},
        {{INT_MIN, 3, INT_MAX, 4}, 20, 1.75, {0, 5, 10, 7}},
        {{4, 4, 5, 5}, 1, 1.25, {5, 5, 6, 6}}, // 5 to 6.25: one pixel
        {{5, 5, 6, 6}, 4, 1.25, {6, 6, 8, 8}}, // 6.25 to 7.5: 6 and 7
    };
    for (const Row& row : rows) {
        QImage image = White(10, 10);
        image.setDevicePixelRatio(row.ratio);
        const CRect& pixels = row.ratio == 1 ? row.rect : row.pixels;
        CDC dc;
        dc.AttachImage(&image);
        CBrush black(RGB(0, 0, 0));
        dc.SetROP2(R2_NOT);
        dc.FillRect(&row.rect, &black);
        const auto marked = Marked(image);
        EXPECT_EQ(int(marked.size()), row.count);
        for (auto [x, y] : marked) {
            EXPECT_EQ(image.pixel(x, y), kBlack);
            EXPECT_TRUE(PtInRect(&pixels, CPoint(x, y)));
        }
    }
}

// A list of squares fills what each square alone fills, whether they are few or crowd the
// clip, so many that bands of rows fill them apart, within a part of the window or all of it,
// at any ratio, on the image's edges and past them.
TEST(RasterFill, ManySquaresFillAsEachSquareAlone) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coordinate(-10, 70);
    const CRect part(5, 9, 41, 50);
    for (const double ratio : {1.0, 1.5}) {
        for (const int half : {3, 4}) {
            for (const std::size_t count :
                 {std::size_t(5), std::size_t(3000), std::size_t(40000)}) {
                for (const CRect* clip : {static_cast<const CRect*>(nullptr), &part}) {
                    // Many squares on few places, as the handles of curves drawn over one
                    // another, so that crowded squares still leave pixels uncovered.
                    std::vector<CPoint> places(20);
                    for (CPoint& place : places)
                        place = CPoint(coordinate(rng), coordinate(rng));
                    std::vector<CPoint> centres(count);
                    for (std::size_t i = 0; i < count; ++i)
                        centres[i] = places[i % places.size()];
                    QImage together = White(60, 60);
                    QImage alone = White(60, 60);
                    together.setDevicePixelRatio(ratio);
                    alone.setDevicePixelRatio(ratio);
                    CBrush black(RGB(0, 0, 0));
                    {
                        CDC dc;
                        dc.AttachWindowImage(&together, clip);
                        dc.FillSquares(centres.data(), centres.size(), half, &black);
                    }
                    {
                        CDC dc;
                        dc.AttachWindowImage(&alone, clip);
                        for (const CPoint& centre : centres)
                            dc.FillSquare(centre, half, &black);
                    }
                    EXPECT_EQ(together, alone) << ratio << " " << half << " " << count;
                }
            }
        }
    }
}

TEST(RasterFill, SolidRectTakesOriginAndSize) {
    QImage image = White(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    dc.FillSolidRect(1, 2, 3, 4, RGB(10, 20, 30));
    dc.FillSolidRect(6, 6, -2, 2, RGB(0, 0, 0));
    EXPECT_EQ(Marked(image).size(), 12u);
    EXPECT_EQ(image.pixel(1, 2), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(3, 5), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(4, 5), kWhite);
}

// On screens with more pixels than logical units the control points map to the screen's
// pixels, and the line stays one of those pixels wide.
TEST(RasterBezier, FollowsTheCurveWithoutGapsOnePixelWideAtAnyRatio) {
    // A quarter-circle-like arc and an S; every pixel lies near the true curve, every sample
    // of the true curve lies near a pixel, and the pixels form one 8-connected chain.
    const std::vector<std::vector<CPoint>> curves = {
        {{10, 100}, {10, 45}, {55, 10}, {110, 10}},
        {{10, 10}, {200, 10}, {-90, 110}, {110, 110}, {150, 110}, {170, 60}, {20, 60}},
    };
    for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        for (const auto& logical : curves) {
            QImage image = White(int(scale.Cover(220)), int(scale.Cover(130)));
            image.setDevicePixelRatio(ratio);
            CDC dc;
            dc.AttachImage(&image);
            dc.PolyBezier(logical.data(), int(logical.size()));
            // The curve the screen shows is the one through the control points' pixels.
            std::vector<CPoint> pts;
            for (const CPoint& p : logical)
                pts.push_back(CPoint(int(scale.Map(p.x)), int(scale.Map(p.y))));
            const auto marked = Marked(image);
            std::vector<std::pair<double, double>> samples;
            for (std::size_t s = 0; s + 3 < pts.size(); s += 3)
                for (int i = 0; i <= 2000; ++i) {
                    const double t = i / 2000.0, u = 1 - t;
                    const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t,
                                 b3 = t * t * t;
                    samples.emplace_back(
                        b0 * pts[s].x + b1 * pts[s + 1].x + b2 * pts[s + 2].x + b3 * pts[s + 3].x,
                        b0 * pts[s].y + b1 * pts[s + 1].y + b2 * pts[s + 2].y + b3 * pts[s + 3].y);
                }
            for (auto [x, y] : marked) {
                double best = 1e9;
                for (auto [sx, sy] : samples)
                    best = std::min(best, std::hypot(sx - x, sy - y));
                EXPECT_LT(best, 1.0) << ratio << ": " << x << "," << y;
            }
            for (auto [sx, sy] : samples) {
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = marked.count(
                                   {int(std::lround(sx)) + dx, int(std::lround(sy)) + dy}) > 0;
                const bool isEnd = std::hypot(sx - pts.back().x, sy - pts.back().y) < 1.5;
                EXPECT_TRUE(near || isEnd) << ratio << ": " << sx << "," << sy;
            }
            // One pixel wide: between one and one and a quarter pixels of ink per pixel of
            // length along the major axis (corners of the chain add some), where a line drawn
            // at logical size and scaled up has two.
            double length = 0;
            for (std::size_t i = 1; i < samples.size(); ++i)
                length += std::max(std::abs(samples[i].first - samples[i - 1].first),
                                   std::abs(samples[i].second - samples[i - 1].second));
            EXPECT_LT(double(marked.size()), 1.5 * length) << ratio;
            // One chain: each pixel but the two ends has a neighbour on either side, so the
            // whole set is connected.
            std::set<std::pair<int, int>> seen;
            std::vector<std::pair<int, int>> stack{*marked.begin()};
            seen.insert(stack.back());
            while (!stack.empty()) {
                auto [x, y] = stack.back();
                stack.pop_back();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (marked.count({x + dx, y + dy}) && seen.insert({x + dx, y + dy}).second)
                            stack.push_back({x + dx, y + dy});
            }
            EXPECT_EQ(seen.size(), marked.size()) << ratio;
        }
    }
}

TEST(RasterBezier, InvertingTwiceRestoresAndClosedCurvesTouchTheStartOnce) {
    QImage image = White(120, 120);
    for (int y = 0; y < 120; y += 3)
        for (int x = 0; x < 120; x += 5)
            image.setPixel(x, y, qRgb(x * 2, y * 2, 77));
    const QImage before = image.copy();
    // A closed curve ends where it starts.
    const CPoint pts[] = {{10, 60},   {10, -20}, {110, -20}, {110, 60},
                          {110, 140}, {10, 140}, {10, 60}};
    CDC dc;
    dc.AttachImage(&image);
    dc.SetROP2(R2_NOT);
    dc.PolyBezier(pts, 7);
    EXPECT_EQ(image.pixel(10, 60), before.pixel(10, 60) ^ 0x00FFFFFFu);
    dc.PolyBezier(pts, 7);
    EXPECT_EQ(image, before);
}

TEST(RasterBezier, HugeSegmentsDrawTheirVisiblePartQuickly) {
    for (const double ratio : {1.0, 2.0}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        QImage image = White(int(scale.Cover(300)), int(scale.Cover(200)));
        image.setDevicePixelRatio(ratio);
        CDC dc;
        dc.AttachImage(&image);
        // A gentle arc whose control points lie two billion pixels away, passing through the
        // image.
        const CPoint pts[] = {
            {-2000000000, 100}, {-700000000, 120}, {700000000, 120}, {2000000000, 100}};
        const double seconds = Seconds([&] { dc.PolyBezier(pts, 4); });
        EXPECT_LT(seconds, 1.0); // a hang, not a measurement
        // Near t = 0.5 the curve is flat at y = 115.
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, int(scale.Map(115))), kBlack) << ratio << ": " << x;
    }
}

// A copying pen writes every sample without looking at what it wrote before, while any other
// pen walks the chain one pixel at a time; both must give the very same pixels, end pixels
// left out, whether the curve lies inside the image, crosses its edge, has huge segments or ends
// in a segment that goes nowhere.
// (Masking with black marks a pixel however often it is touched, as copying does.)
TEST(RasterBezier, CopyingAndMaskingPensTouchTheSamePixels) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-40, 200);
    std::uniform_int_distribution<int> far(-3000, 3000);
    for (int round = 0; round < 400; ++round) {
        std::vector<CPoint> pts(1 + 3 * (1 + round % 4));
        for (CPoint& pt : pts)
            pt = round % 10 == 9 ? CPoint(far(rng), far(rng)) : CPoint(coord(rng), coord(rng));
        // A last segment that stays on its start pixel draws nothing, so the end pixel of the
        // segment before it, inside the image, stays out too.
        // Segments in the corner whose points reach the column and row just past the image
        // must still be clipped there.
        if (round % 5 == 3) {
            std::uniform_int_distribution<int> x(150, 160);
            std::uniform_int_distribution<int> y(110, 120);
            for (CPoint& pt : pts)
                pt = CPoint(x(rng), y(rng));
        }
        if (round % 5 == 4) {
            std::uniform_int_distribution<int> inside(5, 114);
            for (CPoint& pt : pts)
                pt = CPoint(inside(rng), inside(rng));
            std::fill(pts.end() - 3, pts.end(), pts[pts.size() - 4]);
        }
        // Other ratios map the points first; below one, neighbouring points share a pixel.
        constexpr double kRatios[] = {1, 1.5, 1, 0.75, 1, 1.25, 1, 2};
        QImage copied = White(160, 120);
        QImage masked = White(160, 120);
        copied.setDevicePixelRatio(kRatios[round / 5 % 8]);
        masked.setDevicePixelRatio(kRatios[round / 5 % 8]);
        {
            CDC dc;
            dc.AttachImage(&copied);
            dc.PolyBezier(pts.data(), int(pts.size()));
        }
        {
            CDC dc;
            dc.AttachImage(&masked);
            dc.SetROP2(R2_MASKPEN);
            dc.PolyBezier(pts.data(), int(pts.size()));
        }
        ASSERT_EQ(Marked(copied), Marked(masked)) << "round " << round;
    }
}

// The copying pen puts a segment's end pixel back as it found it; what was there before,
// drawn or not, stays.
TEST(RasterBezier, SegmentsLeaveTheirEndPixelAsItWas) {
    QImage image = White(40, 40);
    image.setPixel(30, 20, qRgb(10, 200, 30));
    const CPoint pts[] = {{5, 20}, {12, 10}, {24, 30}, {30, 20}};
    CDC dc;
    dc.AttachImage(&image);
    dc.PolyBezier(pts, 4);
    EXPECT_EQ(image.pixel(30, 20), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(5, 20), kBlack);
}

// A window's surface holds curves of one colour back and draws them at the end, in two halves
// at once when there are many; whatever else is drawn in between (another colour, an inverting
// pen, lines, fills, curves crossing the edge or the middle row), the picture must be the one
// drawn straight away.
TEST(RasterWindowImage, HeldCurvesGiveThePictureDrawnStraightAway) {
    const auto drawScene = [](CDC& dc) {
        std::mt19937 rng(11);
        std::uniform_int_distribution<int> start(-20, 320);
        std::uniform_int_distribution<int> inside(40, 260);
        std::uniform_int_distribution<int> step(-30, 30);
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush blue(RGB(0, 0, 255));
        for (int i = 0; i < 3000; ++i) {
            // The first 2,500 curves (some 5,000 segments, most of them inside) are held
            // together and drawn in two halves; then colours, inverting and fills interrupt.
            const bool mixed = i >= 2500;
            std::vector<CPoint> pts;
            CPoint pt = mixed ? CPoint(start(rng), start(rng) * 2 / 3)
                              : CPoint(inside(rng), inside(rng) * 2 / 3);
            for (int j = 0; j < 1 + 3 * (1 + i % 3); ++j) {
                pts.push_back(pt);
                pt = pt + CPoint(step(rng) / (mixed ? 1 : 3), step(rng) / (mixed ? 1 : 3));
            }
            if (mixed && i % 100 == 50)
                dc.SelectObject(&red);
            if (mixed && i % 100 == 0)
                dc.SelectStockObject(BLACK_PEN);
            dc.SetROP2(mixed && i % 97 == 5 ? R2_NOT : R2_COPYPEN);
            dc.PolyBezier(pts.data(), int(pts.size()));
            if (mixed && i % 45 == 7) {
                const CRect rect(pts[0].x, pts[0].y, pts[0].x + 25, pts[0].y + 15);
                dc.FillRect(&rect, &blue);
            }
            if (mixed && i % 60 == 9) {
                dc.MoveTo(pts[0]);
                dc.LineTo(pts[1]);
            }
        }
        dc.SelectStockObject(BLACK_PEN);
    };
    QImage straight = White(300, 201);
    {
        CDC dc;
        dc.AttachImage(&straight);
        drawScene(dc);
    }
    QImage held = White(300, 201);
    {
        CDC dc;
        dc.AttachWindowImage(&held);
        drawScene(dc);
    }
    EXPECT_EQ(held, straight);
    EXPECT_GT(Marked(held).size(), 10000u);
}
