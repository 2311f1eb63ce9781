#include "platform/gdi/CDC.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "support/RecordingDevice.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using Op = RecordingDevice::Op;

struct Recorded {
    RecordingDevice device;
    CDC dc;
    Recorded() { dc.AttachDevice(&device); }
};

} // namespace

TEST(CDC, NewSurfaceHoldsBlackPenWhiteBrushAndCopy) {
    Recorded r;
    ASSERT_NE(r.dc.GetCurrentPen(), nullptr);
    EXPECT_EQ(r.dc.GetCurrentPen()->GetStyle(), PS_SOLID);
    EXPECT_EQ(r.dc.GetCurrentPen()->GetColor(), RGB(0, 0, 0));
    ASSERT_NE(r.dc.GetCurrentBrush(), nullptr);
    EXPECT_FALSE(r.dc.GetCurrentBrush()->IsHollow());
    EXPECT_EQ(r.dc.GetCurrentBrush()->GetColor(), RGB(255, 255, 255));
    EXPECT_EQ(r.dc.GetROP2(), R2_COPYPEN);
    r.dc.LineTo(3, 4);
    ASSERT_EQ(r.device.calls.size(), 1u);
    EXPECT_EQ(r.device.calls[0].pen, (PenAttributes{PS_SOLID, 1, 0}));
    EXPECT_EQ(r.device.calls[0].rop, R2_COPYPEN);
}

TEST(CDC, SelectingReturnsThePreviousObjectOfTheSameKind) {
    Recorded r;
    CPen* defaultPen = r.dc.GetCurrentPen();
    CBrush* defaultBrush = r.dc.GetCurrentBrush();
    CPen pen(PS_DOT, 1, RGB(9, 9, 9));
    CBrush brush(RGB(1, 1, 1));

    EXPECT_EQ(r.dc.SelectObject(&pen), defaultPen);
    EXPECT_EQ(r.dc.SelectObject(&brush), defaultBrush);
    CGdiObject* previousBrush = r.dc.SelectStockObject(NULL_BRUSH);
    EXPECT_EQ(previousBrush, &brush);
    EXPECT_TRUE(r.dc.GetCurrentBrush()->IsHollow());
    CGdiObject* previousPen = r.dc.SelectStockObject(NULL_PEN);
    EXPECT_EQ(previousPen, &pen);

    // What came back as a CGdiObject goes back in as one.
    EXPECT_EQ(r.dc.SelectObject(previousBrush), r.dc.GetCurrentBrush());
    EXPECT_EQ(r.dc.GetCurrentBrush(), &brush);
    r.dc.SelectObject(previousPen);
    EXPECT_EQ(r.dc.GetCurrentPen(), &pen);
}

TEST(CDC, RefusedSelectionsChangeNothing) {
    Recorded r;
    CPen* defaultPen = r.dc.GetCurrentPen();
    CPen unmade;
    CPen deleted(PS_SOLID, 1, 0);
    deleted.DeleteObject();
    EXPECT_EQ(r.dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_EQ(r.dc.SelectObject(&unmade), nullptr);
    EXPECT_EQ(r.dc.SelectObject(&deleted), nullptr);
    EXPECT_EQ(r.dc.SelectStockObject(99), nullptr);
    EXPECT_EQ(r.dc.GetCurrentPen(), defaultPen);
    EXPECT_EQ(r.dc.SetROP2(0), 0);
    EXPECT_EQ(r.dc.SetROP2(17), 0);
    EXPECT_EQ(r.dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(r.dc.SetROP2(R2_NOT), R2_COPYPEN);
    // A window surface takes no bitmap.
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&r.dc, 4, 4));
    EXPECT_EQ(r.dc.SelectObject(&bitmap), nullptr);
}

TEST(CDC, StockObjectsSurviveDeleteObject) {
    Recorded r;
    CGdiObject* white = r.dc.SelectStockObject(NULL_BRUSH);
    EXPECT_FALSE(white->DeleteObject());
    EXPECT_TRUE(white->IsValid());
}

TEST(CDC, LineToDrawsFromTheCurrentPositionAndMovesIt) {
    Recorded r;
    EXPECT_EQ(r.dc.MoveTo(10, 20), CPoint(0, 0));
    r.dc.LineTo(30, 20);
    r.dc.LineTo(CPoint(30, 45));
    EXPECT_EQ(r.dc.GetCurrentPosition(), CPoint(30, 45));
    ASSERT_EQ(r.device.calls.size(), 2u);
    EXPECT_EQ(r.device.calls[0].points, (std::vector<CPoint>{{10, 20}, {30, 20}}));
    EXPECT_EQ(r.device.calls[1].points, (std::vector<CPoint>{{30, 20}, {30, 45}}));
}

TEST(CDC, PatternRunsOnAcrossLineToAndRestartsAtMoveTo) {
    Recorded r;
    r.dc.MoveTo(0, 0);
    r.dc.LineTo(5, 0);
    r.dc.LineTo(5, 7);
    r.dc.MoveTo(0, 0);
    r.dc.LineTo(1, 0);
    ASSERT_EQ(r.device.calls.size(), 3u);
    EXPECT_EQ(r.device.calls[0].phase, 0);
    EXPECT_EQ(r.device.calls[1].phase, 5);
    EXPECT_EQ(r.device.calls[2].phase, 0);
}

TEST(CDC, PolyBezierTakesOnePlusThreeKPointsAndKeepsThePosition) {
    Recorded r;
    const CPoint pts[7] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
    r.dc.MoveTo(9, 9);
    EXPECT_FALSE(r.dc.PolyBezier(pts, 0));
    EXPECT_FALSE(r.dc.PolyBezier(pts, 3));
    EXPECT_FALSE(r.dc.PolyBezier(pts, 5));
    EXPECT_FALSE(r.dc.PolyBezier(nullptr, 4));
    EXPECT_TRUE(r.dc.PolyBezier(pts, 1));
    EXPECT_TRUE(r.dc.PolyBezier(pts, 4));
    EXPECT_TRUE(r.dc.PolyBezier(pts, 7));
    ASSERT_EQ(r.device.calls.size(), 2u);
    EXPECT_EQ(r.device.calls[1].points.size(), 7u);
    EXPECT_EQ(r.dc.GetCurrentPosition(), CPoint(9, 9));
}

TEST(CDC, NullPenAndHollowBrushDrawNothing) {
    Recorded r;
    r.dc.SelectStockObject(NULL_PEN);
    const CPoint pts[4] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    r.dc.LineTo(5, 5);
    r.dc.PolyBezier(pts, 4);
    r.dc.SelectStockObject(NULL_BRUSH);
    const CRect rect(0, 0, 5, 5);
    r.dc.FillRect(&rect, static_cast<CBrush*>(r.dc.GetCurrentBrush()));
    EXPECT_TRUE(r.device.calls.empty());
    EXPECT_EQ(r.dc.GetCurrentPosition(), CPoint(5, 5));
}

TEST(CDC, FillsIgnoreTheRasterOperation) {
    Recorded r;
    r.dc.SetROP2(R2_NOT);
    CBrush brush(RGB(1, 2, 3));
    const CRect rect(1, 2, 3, 4);
    r.dc.FillRect(&rect, &brush);
    r.dc.FillSolidRect(2147483000, -5, 2000, 10, RGB(7, 8, 9));
    ASSERT_EQ(r.device.calls.size(), 2u);
    EXPECT_EQ(r.device.calls[0].color, RGB(1, 2, 3));
    EXPECT_EQ(r.device.calls[0].rect[2], 3);
    // The far edge is computed without wrapping round.
    EXPECT_EQ(r.device.calls[1].rect[2], 2147485000);
    EXPECT_EQ(r.device.calls[1].rect[3], 5);
}

TEST(CDC, SurfaceWithoutDeviceDrawsNothingButKeepsState) {
    CDC dc;
    const CPoint pts[4] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    EXPECT_TRUE(dc.LineTo(4, 5));
    EXPECT_TRUE(dc.PolyBezier(pts, 4));
    dc.FillSolidRect(0, 0, 5, 5, 0);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(4, 5));
}

TEST(CDC, ImageOfAnotherFormatGetsNoDevice) {
    QImage image(4, 4, QImage::Format_RGB888);
    CDC dc;
    dc.AttachImage(&image);
    EXPECT_EQ(dc.GetDevice(), nullptr);
}

TEST(CDCMemory, DrawsIntoTheSelectedBitmapAndHandsBackTheDefault) {
    CDC window;
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&window));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&window, 8, 6));
    CBitmap* defaultBitmap = memory.SelectObject(&bitmap);
    ASSERT_NE(defaultBitmap, nullptr);
    memory.FillSolidRect(0, 0, 8, 6, RGB(255, 255, 255));
    memory.MoveTo(1, 1);
    memory.LineTo(5, 1);
    EXPECT_EQ(memory.SelectObject(defaultBitmap), &bitmap);
    // With the default bitmap back in, nothing reaches the picture.
    memory.FillSolidRect(0, 0, 8, 6, RGB(0, 0, 255));

    const QImage& image = *bitmap.GetImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 1), qRgb(255, 255, 255));
}

TEST(CDCMemory, BitmapIsSelectedIntoOneSurfaceAtATime) {
    CDC a;
    CDC b;
    a.CreateCompatibleDC(nullptr);
    b.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 2, 2));
    ASSERT_NE(a.SelectObject(&bitmap), nullptr);
    EXPECT_EQ(b.SelectObject(&bitmap), nullptr);
    EXPECT_FALSE(bitmap.DeleteObject());
}

TEST(CDCMemory, BitmapDestroyedWhileSelectedLeavesTheSurfaceSafe) {
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 2, 2));
        memory.SelectObject(&bitmap);
    }
    EXPECT_EQ(memory.GetDevice(), nullptr);
    memory.FillSolidRect(0, 0, 2, 2, 0);
    memory.LineTo(1, 1);
}

TEST(CBitmap, RefusesSizesBeyondTheLimitsWithoutAllocating) {
    struct Row {
        int width;
        int height;
        bool made;
    };
    const Row rows[] = {
        {1, 1, true},         {0, 5, false},     {5, -1, false},        {16384, 1, true},
        {16385, 1, false},    {1, 16385, false}, {16384, 16384, false}, // 1 GiB
        {16384, 4097, false},
    };
    for (const Row& row : rows) {
        CBitmap bitmap;
        EXPECT_EQ(bitmap.CreateCompatibleBitmap(nullptr, row.width, row.height), row.made)
            << row.width << "x" << row.height;
        if (row.made) {
            EXPECT_EQ(bitmap.GetWidth(), row.width);
            EXPECT_EQ(bitmap.GetHeight(), row.height);
        } else {
            EXPECT_EQ(bitmap.GetImage(), nullptr);
        }
    }
}
