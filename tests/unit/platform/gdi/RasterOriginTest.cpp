// A raster device with an origin shows a part of a drawing: its pixels are those of a device
// over the whole drawing, cut to that part.

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/RasterDevice.h"

#include <QImage>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <vector>

namespace {

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    return image;
}

// Draws on a white image of w by h pixels whose top left pixel shows the origin.
QImage Draw(int w, int h, CPoint origin, const std::function<void(CDC&)>& draw) {
    QImage image = White(w, h);
    RasterDevice device(reinterpret_cast<std::uint32_t*>(image.bits()), w, h,
                        image.bytesPerLine() / 4, origin);
    CDC dc;
    dc.AttachDevice(&device);
    draw(dc);
    dc.DetachDevice();
    return image;
}

struct Scene {
    std::vector<std::vector<CPoint>> beziers;
    std::vector<std::pair<CPoint, CPoint>> lines;
    std::vector<CRect> fills;
};

void DrawScene(CDC& dc, const Scene& scene) {
    for (const auto& points : scene.beziers)
        dc.PolyBezier(points.data(), int(points.size()));
    CPen dotted(PS_DOT, 1, RGB(0, 0, 0));
    CPen* old = dc.SelectObject(&dotted);
    for (const auto& [a, b] : scene.lines) {
        dc.MoveTo(a);
        dc.LineTo(b);
    }
    dc.SelectObject(old);
    CBrush black(RGB(0, 0, 0));
    for (const CRect& r : scene.fills)
        dc.FillRect(&r, &black);
}

Scene RandomScene(std::mt19937& rng, int lo, int hi) {
    std::uniform_int_distribution<int> c(lo, hi);
    Scene scene;
    for (int i = 0; i < 6; ++i) {
        std::vector<CPoint> points;
        for (int j = 0; j < 7; ++j)
            points.push_back(CPoint(c(rng), c(rng)));
        scene.beziers.push_back(points);
        scene.lines.push_back({CPoint(c(rng), c(rng)), CPoint(c(rng), c(rng))});
    }
    const int x = c(rng);
    const int y = c(rng);
    scene.fills.push_back(CRect(x, y, x + 6, y + 6));
    return scene;
}

} // namespace

// Curves wholly inside both pictures, lines and fills anywhere: the part is the cut of the whole.
TEST(RasterOrigin, PartIsTheCutOfTheWholeDrawing) {
    std::mt19937 rng(11);
    for (int round = 0; round < 40; ++round) {
        Scene scene = RandomScene(rng, 120, 260);
        std::uniform_int_distribution<int> far(-400, 400);
        scene.lines.push_back({CPoint(far(rng), far(rng)), CPoint(far(rng), far(rng))});
        const QImage whole = Draw(400, 400, CPoint(), [&](CDC& dc) { DrawScene(dc, scene); });
        const CPoint origin(100 + round % 7, 110 - round % 5);
        const QImage part = Draw(180, 170, origin, [&](CDC& dc) { DrawScene(dc, scene); });
        ASSERT_EQ(part, whole.copy(origin.x, origin.y, 180, 170)) << "round " << round;
    }
}

// Wherever the drawing lies, an origin draws as moving every point by hand would.
TEST(RasterOrigin, OriginEqualsMovingThePoints) {
    std::mt19937 rng(5);
    for (int round = 0; round < 40; ++round) {
        const Scene scene = RandomScene(rng, -300, 500);
        const CPoint origin(round * 3 - 60, 40 - round * 2);
        Scene moved = scene;
        for (auto& points : moved.beziers)
            for (CPoint& pt : points)
                pt = pt - origin;
        for (auto& [a, b] : moved.lines) {
            a = a - origin;
            b = b - origin;
        }
        for (CRect& r : moved.fills)
            r = CRect(r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y);
        const QImage shifted = Draw(150, 120, origin, [&](CDC& dc) { DrawScene(dc, scene); });
        const QImage byHand = Draw(150, 120, CPoint(), [&](CDC& dc) { DrawScene(dc, moved); });
        ASSERT_EQ(shifted, byHand) << "round " << round;
    }
}

// Points and origins at the two ends of the 32-bit range: their differences do not fit 32 bits,
// and nothing overflows or walks pixels outside the picture.
TEST(RasterOrigin, FarOriginsAndPointsStayInside) {
    const CPoint origins[] = {CPoint(INT_MIN, INT_MIN), CPoint(INT_MAX - 50, INT_MAX - 50),
                              CPoint(-5, -5)};
    for (const CPoint origin : origins) {
        const QImage image = Draw(60, 60, origin, [&](CDC& dc) {
            const CPoint points[] = {
                {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}};
            dc.PolyBezier(points, 4);
            dc.MoveTo(INT_MIN, INT_MIN);
            dc.LineTo(INT_MAX, INT_MAX);
            const CRect all(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
            CBrush black(RGB(0, 0, 0));
            dc.FillRect(&all, &black);
        });
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    }
}

// A window's image repainted in a part gets, inside the part, the pixels of the whole image
// drawn afresh, dotted lines and segments reaching across the 32-bit range included, and keeps
// every pixel outside it; at any ratio, where the part's pixels are every pixel its units are
// drawn on, also the one its last column shares with the next where units outnumber pixels.
TEST(RasterOrigin, WindowPartGetsTheWholeDrawingsPixelsAndNothingElse) {
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> anywhere(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> near(-100, 500);
    for (const double ratio : {1.0, 0.75, 1.5}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        const int width = int(scale.Cover(300));
        const int height = int(scale.Cover(240));
        for (int round = 0; round < 60; ++round) {
            Scene scene = RandomScene(rng, -150, 450);
            scene.beziers.push_back({CPoint(near(rng), near(rng)), CPoint(anywhere(rng), near(rng)),
                                     CPoint(near(rng), anywhere(rng)),
                                     CPoint(near(rng), near(rng))});
            scene.lines.push_back(
                {CPoint(anywhere(rng), near(rng)), CPoint(near(rng), anywhere(rng))});
            // Now and then a part one unit wide, narrower than a pixel below ratio one.
            const int left = near(rng) - 50;
            const CRect part(left, near(rng) - 50, round % 5 == 0 ? left + 1 : near(rng),
                             near(rng));
            QImage whole = White(width, height);
            whole.setDevicePixelRatio(ratio);
            {
                CDC dc;
                dc.AttachWindowImage(&whole);
                DrawScene(dc, scene);
            }
            QImage window(width, height, QImage::Format_RGB32);
            window.setDevicePixelRatio(ratio);
            window.fill(qRgb(1, 2, 3));
            {
                CDC dc;
                dc.AttachWindowImage(&window, &part);
                CRect box;
                dc.GetClipBox(&box);
                if (ratio == 1.0) {
                    const CRect image(0, 0, 300, 240);
                    CRect expected;
                    IntersectRect(&expected, &part, &image);
                    ASSERT_EQ(box, expected) << "round " << round;
                }
                dc.FillSolidRect(&box, RGB(255, 255, 255));
                DrawScene(dc, scene);
            }
            const CRect reach = scale.Reach(part);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(window.pixel(x, y),
                              PtInRect(&reach, CPoint(x, y)) ? whole.pixel(x, y) : qRgb(1, 2, 3))
                        << ratio << " round " << round << " at " << x << "," << y;
        }
    }
}
