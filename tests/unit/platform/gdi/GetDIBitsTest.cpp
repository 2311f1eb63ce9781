#include "platform/gdi/GetDIBits.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

BITMAPINFO Header(int width, int height, int bitCount) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = std::uint16_t(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 3 by 2 bitmap: top row red, green, blue; bottom row white, black, (1, 2, 3).
void Paint(CBitmap& bitmap) {
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 3, 2));
    QImage& image = *bitmap.GetImage();
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(255, 255, 255));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    image.setPixel(2, 1, qRgb(1, 2, 3));
}

} // namespace

TEST(BITMAPINFOHEADER, IsLaidOutAsOtherProgramsReadIt) {
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biWidth), 4u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biPlanes), 12u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biBitCount), 14u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biSizeImage), 20u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biClrImportant), 36u);
}

TEST(GetDIBits, TwentyFourBitsBottomUpBlueGreenRedPaddedRows) {
    CBitmap bitmap;
    Paint(bitmap);
    BITMAPINFO info = Header(3, 2, 24);
    std::vector<std::uint8_t> bits(24, 0xEE);
    CDC dc;
    EXPECT_EQ(GetDIBits(&dc, &bitmap, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
    const std::vector<std::uint8_t> expected = {
        255, 255, 255, 0, 0,   0, 3,   2, 1, 0, 0, 0, // bottom row first
        0,   0,   255, 0, 255, 0, 255, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(bits, expected);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 24u);
}

TEST(GetDIBits, NegativeHeightStoresTheTopRowFirst) {
    CBitmap bitmap;
    Paint(bitmap);
    BITMAPINFO info = Header(3, -2, 32);
    std::vector<std::uint8_t> bits(24, 0xEE);
    EXPECT_EQ(GetDIBits(nullptr, &bitmap, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
    const std::vector<std::uint8_t> expected = {
        0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 3, 2, 1, 0,
    };
    EXPECT_EQ(bits, expected);
}

TEST(GetDIBits, ScanLinesCountFromTheFirstRowStored) {
    CBitmap bitmap;
    Paint(bitmap);
    BITMAPINFO info = Header(3, 2, 24);
    std::vector<std::uint8_t> bits(24, 0xEE);
    // Scan line 1 of a bottom-up picture is the bitmap's top row; asking past the end copies
    // what there is.
    EXPECT_EQ(GetDIBits(nullptr, &bitmap, 1, 5, bits.data(), &info, DIB_RGB_COLORS), 1);
    EXPECT_EQ(bits[0], 0);
    EXPECT_EQ(bits[2], 255);
    EXPECT_EQ(bits[12], 0xEE);
}

TEST(GetDIBits, StrideOfTheClipboardPictures) {
    struct Row {
        int width;
        int height;
        std::uint32_t sizeImage;
    };
    for (const Row row : {Row{50, 50, 7600}, Row{10, 10, 320}, Row{1, 1, 4}, Row{4, 3, 36}}) {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, row.width, row.height));
        BITMAPINFO info = Header(row.width, row.height, 24);
        std::vector<std::uint8_t> bits(row.sizeImage);
        EXPECT_EQ(
            GetDIBits(nullptr, &bitmap, 0, UINT(row.height), bits.data(), &info, DIB_RGB_COLORS),
            row.height);
        EXPECT_EQ(info.bmiHeader.biSizeImage, row.sizeImage);
    }
}

TEST(GetDIBits, RefusesWhatItCannotServe) {
    CBitmap bitmap;
    Paint(bitmap);
    std::vector<std::uint8_t> bits(64, 0xEE);
    BITMAPINFO palette = Header(3, 2, 8);
    BITMAPINFO compressed = Header(3, 2, 24);
    compressed.bmiHeader.biCompression = 1;
    BITMAPINFO tooWide = Header(CBitmap::kMaxSide + 1, 2, 24);
    BITMAPINFO ok = Header(3, 2, 24);
    CBitmap empty;
    for (BITMAPINFO* info : {&palette, &compressed, &tooWide})
        EXPECT_EQ(GetDIBits(nullptr, &bitmap, 0, 2, bits.data(), info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(nullptr, &empty, 0, 2, bits.data(), &ok, DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(nullptr, &bitmap, 0, 2, bits.data(), &ok, 1), 0);
    EXPECT_EQ(GetDIBits(nullptr, &bitmap, 0, 2, bits.data(), nullptr, DIB_RGB_COLORS), 0);
    EXPECT_EQ(bits, std::vector<std::uint8_t>(64, 0xEE));
}
