#include "document/CurvePicture.h"

#include "curve/CCurve.h"
#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

// The picture's header fields and its pixels, read back from the block.
struct Picture {
    std::int32_t width = 0, height = 0;
    std::uint32_t headerSize = 0, sizeImage = 0, compression = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::size_t blockSize = 0;
    std::vector<std::uint8_t> bits;

    std::size_t Stride() const { return (3 * std::size_t(width) + 3) & ~std::size_t(3); }
    // The pixel at (x, y) counted from the top, as 0xRRGGBB; rows are stored bottom row first.
    std::uint32_t At(int x, int y) const {
        const std::uint8_t* p = bits.data() + std::size_t(height - 1 - y) * Stride() + 3 * x;
        return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    }
};

template <typename T> T Field(const std::uint8_t* p, std::size_t offset) {
    T v;
    std::memcpy(&v, p + offset, sizeof v);
    return v;
}

Picture Read(HGLOBAL h) {
    Picture pic;
    const auto* p = static_cast<const std::uint8_t*>(GlobalLock(h));
    pic.blockSize = GlobalSize(h);
    pic.headerSize = Field<std::uint32_t>(p, 0);
    pic.width = Field<std::int32_t>(p, 4);
    pic.height = Field<std::int32_t>(p, 8);
    pic.planes = Field<std::uint16_t>(p, 12);
    pic.bitCount = Field<std::uint16_t>(p, 14);
    pic.compression = Field<std::uint32_t>(p, 16);
    pic.sizeImage = Field<std::uint32_t>(p, 20);
    pic.bits.assign(p + 40, p + pic.blockSize);
    GlobalUnlock(h);
    GlobalFree(h);
    return pic;
}

CCurve Curve(std::vector<CPoint> points) {
    CCurve c;
    c.m_points = std::move(points);
    return c;
}

} // namespace

TEST(CurvePicture, ThreePointCurveGivesAFiftyPixelSquareWithMarginsRightAndBelow) {
    CDC window;
    const Picture pic = Read(CurvePicture(Curve({{10, 20}, {30, 40}, {50, 60}}), &window));
    EXPECT_EQ(pic.headerSize, 40u);
    EXPECT_EQ(pic.width, 50);
    EXPECT_EQ(pic.height, 50);
    EXPECT_EQ(pic.planes, 1);
    EXPECT_EQ(pic.bitCount, 24);
    EXPECT_EQ(pic.compression, 0u);
    EXPECT_EQ(pic.Stride(), 152u);
    EXPECT_EQ(pic.sizeImage, 7600u);
    EXPECT_EQ(pic.blockSize, 7640u);

    // The top-left control point lands on the first column of the top row; the line runs down
    // the diagonal to (40, 40) and the last ten columns and rows stay white.
    EXPECT_EQ(pic.At(0, 0), 0x000000u);
    EXPECT_EQ(pic.At(20, 20), 0x000000u);
    EXPECT_EQ(pic.At(1, 0), 0xFFFFFFu);
    EXPECT_EQ(pic.At(0, 1), 0xFFFFFFu);
    for (int i = 0; i < 50; ++i) {
        for (int j = 40; j < 50; ++j) {
            ASSERT_EQ(pic.At(j, i), 0xFFFFFFu) << j << ", " << i;
            ASSERT_EQ(pic.At(i, j), 0xFFFFFFu) << i << ", " << j;
        }
    }
}

TEST(CurvePicture, AFarCurveShowsAsTheSameCurveNearTheOrigin) {
    CDC window;
    const std::vector<CPoint> shape = {{10, 20}, {30, 40}, {50, 60}, {0, 45}};
    const Picture near = Read(CurvePicture(Curve(shape), &window));
    // Beyond each of the bounds' start values: right of 9,999,999, below 99,999,999, left of
    // -999,999,999 and above -99,999,999; and against the ends of the 32-bit range.
    const CPoint offsets[] = {{20000000, 0},   {0, 200000000},           {-1500000000, 0},
                              {0, -200000000}, {2147483587, 2147483587}, {INT_MIN, INT_MIN}};
    for (const CPoint offset : offsets) {
        CCurve far = Curve(shape);
        far.Offset(offset.x, offset.y);
        const Picture pic = Read(CurvePicture(far, &window));
        EXPECT_EQ(pic.width, near.width) << offset.x << ", " << offset.y;
        EXPECT_EQ(pic.height, near.height) << offset.x << ", " << offset.y;
        EXPECT_TRUE(pic.bits == near.bits) << offset.x << ", " << offset.y;
    }
}

TEST(CurvePicture, OnePointGivesTenPixelsSquare) {
    CDC window;
    const Picture pic = Read(CurvePicture(Curve({{-7, 99}}), &window));
    EXPECT_EQ(pic.width, 10);
    EXPECT_EQ(pic.height, 10);
    EXPECT_EQ(pic.sizeImage, 320u);
    EXPECT_EQ(pic.blockSize, 360u);
}

TEST(CurvePicture, NoPictureWithoutPointsOrBeyondTheBitmapLimits) {
    CDC window;
    EXPECT_EQ(CurvePicture(Curve({}), &window), nullptr);
    EXPECT_EQ(CurvePicture(Curve({{0, 0}, {100000, 5}}), &window), nullptr);
    EXPECT_EQ(CurvePicture(Curve({{0, 0}, {5, 100000}}), &window), nullptr);
    EXPECT_EQ(CurvePicture(Curve({{-2000000000, 0}, {2000000000, 5}}), &window), nullptr);
}
