#include "platform/ole/PackedDib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void Put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A 24-bit picture laid out as the program writes it: bottom row first, rows padded to 4.
std::vector<unsigned char> Dib(std::int32_t width, std::int32_t height, int bits = 24) {
    const std::uint32_t rows = std::uint32_t(height < 0 ? -height : height);
    const std::uint32_t stride = (std::uint32_t(width) * bits + 31) / 32 * 4;
    std::vector<unsigned char> b(40 + stride * rows, 0xFF);
    std::memset(b.data(), 0, 40);
    Put32(b, 0, 40);
    Put32(b, 4, std::uint32_t(width));
    Put32(b, 8, std::uint32_t(height));
    b[12] = 1;
    b[14] = static_cast<unsigned char>(bits);
    Put32(b, 20, stride * rows);
    return b;
}

std::size_t Stride(int width, int bits = 24) {
    return (std::size_t(width) * bits + 31) / 32 * 4;
}

} // namespace

TEST(PackedDib, BottomUpRowsBecomeTopDownPixelsInRedGreenBlue) {
    auto dib = Dib(3, 2);
    // Stored first: the bottom row. Its first pixel is blue (bytes B, G, R).
    dib[40] = 0xFF, dib[41] = 0, dib[42] = 0;
    // The top row's last pixel is red.
    const std::size_t top = 40 + Stride(3);
    dib[top + 6] = 0, dib[top + 7] = 0, dib[top + 8] = 0xFF;
    const QImage image = ImageFromPackedDib(dib.data(), dib.size());
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(PackedDib, TopDownAndThirtyTwoBitPicturesAreRead) {
    auto dib = Dib(2, -2, 32);
    dib[40] = 0, dib[41] = 0xFF, dib[42] = 0; // first stored pixel: the top-left, green
    const QImage image = ImageFromPackedDib(dib.data(), dib.size());
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
}

TEST(PackedDib, EncodingAndDecodingGiveBackTheSamePicture) {
    QImage image(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 40, 100));
    HGLOBAL block = PackedDibFromImage(image);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 40u + 24u * 5u);
    const QImage back = ImageFromPackedDib(GlobalLock(block), GlobalSize(block));
    GlobalUnlock(block);
    GlobalFree(block);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
}

TEST(PackedDib, BlocksThatDoNotHoldAWholePictureGiveNoImage) {
    const auto good = Dib(10, 10);
    EXPECT_FALSE(ImageFromPackedDib(good.data(), good.size()).isNull());
    // One byte short of the last row.
    EXPECT_TRUE(ImageFromPackedDib(good.data(), good.size() - 1).isNull());
    EXPECT_TRUE(ImageFromPackedDib(good.data(), 39).isNull());
    EXPECT_TRUE(ImageFromPackedDib(nullptr, 0).isNull());

    auto hostile = [&](std::size_t at, std::uint32_t value) {
        auto b = good;
        Put32(b, at, value);
        return ImageFromPackedDib(b.data(), b.size()).isNull();
    };
    EXPECT_TRUE(hostile(0, 0xFFFFFFFF)) << "header larger than the block";
    EXPECT_TRUE(hostile(0, 12)) << "header too small";
    EXPECT_TRUE(hostile(4, 0)) << "no width";
    EXPECT_TRUE(hostile(4, 0x80000000)) << "negative width";
    EXPECT_TRUE(hostile(8, 0)) << "no height";
    EXPECT_TRUE(hostile(8, 0x80000000)) << "height without a magnitude";
    EXPECT_TRUE(hostile(8, 0x7FFFFFFF)) << "more rows than bytes";
    EXPECT_TRUE(hostile(4, 0x7FFFFFFF)) << "wider than the bytes";
    EXPECT_TRUE(hostile(16, 1)) << "compressed";
    EXPECT_TRUE(hostile(32, 0xFFFFFFFF)) << "a colour table past the end";
    auto eightBit = good;
    eightBit[14] = 8;
    EXPECT_TRUE(ImageFromPackedDib(eightBit.data(), eightBit.size()).isNull());
}

TEST(PackedDib, PicturesTooLargeForABlockAreNotEncoded) {
    EXPECT_EQ(PackedDibFromImage(QImage()), nullptr);
    // 1.5 MB as one bit per pixel, 300 MB as 24 bits: above the cap.
    QImage huge(20000, 5000, QImage::Format_Mono);
    ASSERT_FALSE(huge.isNull());
    EXPECT_EQ(PackedDibFromImage(huge), nullptr);
}
