#include "curve/CCurve.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "support/RecordingDevice.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

using Op = RecordingDevice::Op;

CCurve Curve(std::initializer_list<CPoint> points, bool closed = false) {
    CCurve c;
    c.m_points = points;
    c.m_bClosed = closed;
    return c;
}

struct Recorded {
    RecordingDevice device;
    CDC dc;
    Recorded() { dc.AttachDevice(&device); }
};

// The lines drawn, as (from, to) pairs.
std::vector<std::pair<CPoint, CPoint>> Lines(const RecordingDevice& d) {
    std::vector<std::pair<CPoint, CPoint>> lines;
    for (const auto& c : d.calls) {
        EXPECT_EQ(c.op, Op::Line);
        lines.emplace_back(c.points[0], c.points[1]);
    }
    return lines;
}

using LineList = std::vector<std::pair<CPoint, CPoint>>;

} // namespace

TEST(CCurveDraw, EmptyCurveDrawsNothing) {
    Recorded r;
    Curve({}).Draw(&r.dc);
    Curve({}, true).Draw(&r.dc);
    EXPECT_TRUE(r.device.calls.empty());
}

TEST(CCurveDraw, FewPointsAreJoinedByLinesClosingWhenClosed) {
    struct Row {
        CCurve curve;
        LineList lines;
        CPoint position;
    };
    const CPoint a(10, 20), b(30, 40), c(50, 60);
    const Row rows[] = {
        {Curve({a}), {}, a},
        {Curve({a}, true), {{a, a}}, a},
        {Curve({a, b}), {{a, b}}, b},
        {Curve({a, b}, true), {{a, b}, {b, a}}, a},
        {Curve({a, b, c}), {{a, b}, {b, c}}, c},
        {Curve({a, b, c}, true), {{a, b}, {b, c}, {c, a}}, a},
    };
    for (const Row& row : rows) {
        Recorded r;
        row.curve.Draw(&r.dc);
        EXPECT_EQ(Lines(r.device), row.lines);
        EXPECT_EQ(r.dc.GetCurrentPosition(), row.position);
    }
}

TEST(CCurveDraw, FourPointsMakeOnePolyBezierOfTenOrThirteen) {
    for (bool closed : {false, true}) {
        const CCurve curve = Curve({{0, 0}, {60, 0}, {60, 60}, {0, 60}}, closed);
        Recorded r;
        r.dc.MoveTo(5, 7);
        curve.Draw(&r.dc);
        ASSERT_EQ(r.device.calls.size(), 1u);
        EXPECT_EQ(r.device.calls[0].op, Op::PolyBezier);
        EXPECT_EQ(r.device.calls[0].points, curve.ToBezier());
        EXPECT_EQ(r.device.calls[0].points.size(), closed ? 13u : 10u);
        EXPECT_EQ(r.dc.GetCurrentPosition(), CPoint(5, 7));
    }
}

TEST(CCurveDraw, TakesTheSurfacesPenAndRasterOperation) {
    Recorded r;
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    r.dc.SelectObject(&red);
    r.dc.SetROP2(R2_XORPEN);
    Curve({{0, 0}, {60, 0}, {60, 60}, {0, 60}}).Draw(&r.dc);
    Curve({{0, 0}, {60, 0}}).Draw(&r.dc);
    ASSERT_EQ(r.device.calls.size(), 2u);
    for (const auto& call : r.device.calls) {
        EXPECT_EQ(call.pen, (PenAttributes{PS_SOLID, 1, RGB(255, 0, 0)}));
        EXPECT_EQ(call.rop, R2_XORPEN);
    }
}

TEST(CCurveDrawTracker, DrawsShiftedDottedInvertingAndRestoresTheSurface) {
    const CCurve curves[] = {
        Curve({}),
        Curve({{1, 2}}, true),
        Curve({{1, 2}, {3, 4}, {5, 6}}, true),
        Curve({{0, 0}, {60, 0}, {60, 60}, {0, 60}}, true),
    };
    for (const CCurve& curve : curves) {
        Recorded r;
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        CBrush brush(RGB(4, 5, 6));
        r.dc.SelectObject(&pen);
        r.dc.SelectObject(&brush);
        r.dc.SetROP2(R2_MERGEPEN);

        curve.DrawTracker(&r.dc, 100, -50);

        EXPECT_EQ(r.dc.GetROP2(), R2_MERGEPEN);
        EXPECT_EQ(r.dc.GetCurrentBrush(), &brush);
        EXPECT_EQ(r.dc.GetCurrentPen(), &pen);
        std::vector<CPoint> expected = curve.ToBezier();
        for (CPoint& pt : expected)
            pt = pt + CPoint(100, -50);
        std::vector<CPoint> drawn;
        for (const auto& call : r.device.calls) {
            EXPECT_EQ(call.rop, R2_NOT);
            EXPECT_EQ(call.pen, (PenAttributes{PS_DOT, 1, 0}));
            if (call.op == Op::PolyBezier)
                drawn = call.points;
            else if (drawn.empty())
                drawn = call.points;
            else
                drawn.push_back(call.points[1]);
        }
        if (curve.m_bClosed && !expected.empty() && expected.size() < 4)
            expected.push_back(expected.front());
        EXPECT_EQ(drawn, expected);
    }
}

TEST(CCurveDrawTracker, RestoresAStockBrushAndTheDefaultPen) {
    Recorded r;
    CPen* defaultPen = r.dc.GetCurrentPen();
    CBrush* defaultBrush = r.dc.GetCurrentBrush();
    Curve({{1, 2}, {3, 4}}).DrawTracker(&r.dc, 0, 0);
    EXPECT_EQ(r.dc.GetCurrentPen(), defaultPen);
    EXPECT_EQ(r.dc.GetCurrentBrush(), defaultBrush);
    EXPECT_EQ(r.dc.GetROP2(), R2_COPYPEN);
}

TEST(CCurveDrawTracker, OffsetWrapsLikeThirtyTwoBitIntegers) {
    Recorded r;
    Curve({{INT_MAX, INT_MIN}, {0, 0}}).DrawTracker(&r.dc, 1, -1);
    ASSERT_EQ(r.device.calls.size(), 1u);
    EXPECT_EQ(r.device.calls[0].points[0], CPoint(INT_MIN, INT_MAX));
    EXPECT_EQ(r.device.calls[0].points[1], CPoint(1, -1));
}

// Pixels: the outline at offset (0, 0) runs along the drawn curve, and drawing it twice leaves
// the image exactly as it was.
TEST(CCurveDrawTracker, TwiceRestoresTheImageAndOutlinesTheCurve) {
    const CCurve curves[] = {
        Curve({{20, 20}, {80, 20}, {80, 80}, {20, 80}}),
        Curve({{20, 20}, {80, 20}, {80, 80}, {20, 80}}, true),
        Curve({{10, 90}, {50, 5}, {90, 90}}, true),
        Curve({{5, 5}, {95, 95}, {5, 95}, {95, 5}, {50, 50}, {52, 50}}, true),
    };
    for (const CCurve& curve : curves) {
        QImage drawn(100, 100, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            CDC dc;
            dc.AttachImage(&drawn);
            curve.Draw(&dc);
        }
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int i = 0; i < 100; i += 7)
            image.setPixel(i, (i * 13) % 100, qRgb(i, 200, 255 - i));
        const QImage before = image.copy();
        CDC dc;
        dc.AttachImage(&image);
        curve.DrawTracker(&dc, 0, 0);
        int inverted = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (image.pixel(x, y) != before.pixel(x, y)) {
                    ++inverted;
                    EXPECT_EQ(drawn.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
                }
        EXPECT_GT(inverted, 20);
        curve.DrawTracker(&dc, 0, 0);
        EXPECT_EQ(image, before);
    }
}

namespace {

std::set<std::pair<int, int>> Marked(const QImage& image) {
    std::set<std::pair<int, int>> marked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                marked.insert({x, y});
    return marked;
}

// Every pixel of a lies within one pixel (across or diagonally) of a pixel of b.
bool WithinAPixel(const std::set<std::pair<int, int>>& a, const std::set<std::pair<int, int>>& b) {
    for (auto [x, y] : a) {
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
            for (int dx = -1; dx <= 1 && !near; ++dx)
                near = b.count({x + dx, y + dy}) > 0;
        if (!near) {
            ADD_FAILURE() << "pixel " << x << "," << y << " has no counterpart";
            return false;
        }
    }
    return true;
}

} // namespace

TEST(CCurveDraw, RasterAndPainterAgreeWithinAPixel) {
    const CCurve curves[] = {
        Curve({{20, 20}, {80, 20}, {80, 80}, {20, 80}}),
        Curve({{20, 20}, {80, 20}, {80, 80}, {20, 80}}, true),
        Curve({{10, 20}, {30, 40}, {50, 60}}, true),
        Curve({{5, 50}, {30, 10}, {60, 90}, {95, 40}, {70, 5}, {40, 60}, {12, 93}}, true),
    };
    for (const CCurve& curve : curves) {
        QImage raster(110, 110, QImage::Format_RGB32);
        raster.fill(Qt::white);
        QImage painted = raster.copy();
        {
            CDC dc;
            dc.AttachImage(&raster);
            curve.Draw(&dc);
        }
        {
            QPainter painter(&painted);
            CDC dc;
            dc.AttachPainter(&painter);
            curve.Draw(&dc);
        }
        const auto a = Marked(raster);
        const auto b = Marked(painted);
        EXPECT_GT(a.size(), 30u);
        EXPECT_TRUE(WithinAPixel(a, b));
        EXPECT_TRUE(WithinAPixel(b, a));
    }
}

TEST(CCurveDrawTracker, ThroughAPainterTwiceRestoresTheImage) {
    const CCurve curve = Curve({{5, 50}, {30, 10}, {60, 90}, {95, 40}}, true);
    QImage image(110, 110, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int i = 0; i < 110; ++i)
        image.setPixel(i, (i * 7) % 110, qRgb(i, 99, 3));
    const QImage before = image.copy();
    QPainter painter(&image);
    CDC dc;
    dc.AttachPainter(&painter);
    curve.DrawTracker(&dc, 3, -2);
    painter.end();
    EXPECT_NE(image, before);
    painter.begin(&image);
    curve.DrawTracker(&dc, 3, -2);
    painter.end();
    EXPECT_EQ(image, before);
}
