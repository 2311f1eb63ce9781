#include "platform/ole/PackedDib.h"

#include "platform/LittleEndian.h"
#include "platform/ole/BlockLock.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

} // namespace

QImage ImageFromPackedDib(const void* data, std::size_t size) {
    if (!data || size < kInfoHeaderBytes)
        return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::uint32_t headerSize = LoadLe32(bytes);
    const auto width = std::int32_t(LoadLe32(bytes + 4));
    const auto signedHeight = std::int32_t(LoadLe32(bytes + 8));
    const std::uint16_t planes = LoadLe16(bytes + 12);
    const std::uint16_t bitCount = LoadLe16(bytes + 14);
    const std::uint32_t compression = LoadLe32(bytes + 16);
    const std::uint32_t colorsUsed = LoadLe32(bytes + 32);

    if (headerSize < kInfoHeaderBytes || headerSize > size || planes != 1)
        return {};
    if (bitCount != 24 && bitCount != 32)
        return {};
    if (compression != kBiRgb && !(compression == kBiBitfields && bitCount == 32))
        return {};
    // The height's sign gives the row order; its magnitude must be representable.
    if (width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN)
        return {};
    const bool bottomUp = signedHeight > 0;
    const std::uint64_t height =
        bottomUp ? std::uint64_t(signedHeight) : std::uint64_t(-signedHeight);

    // Three colour masks follow a 40-byte header with bit fields; an optional palette may follow
    // any header. All of it is skipped, counted in 64 bits so that nothing wraps.
    std::uint64_t offset = headerSize + std::uint64_t(colorsUsed) * 4;
    if (compression == kBiBitfields && headerSize == kInfoHeaderBytes)
        offset += 12;
    const std::uint64_t stride = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t pixelBytes = stride * height;
    if (offset > size || pixelBytes > size - offset)
        return {};

    QImage image(width, int(height), bitCount == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const std::size_t rowBytes = std::size_t(width) * (bitCount / 8);
    for (std::uint64_t row = 0; row < height; ++row) {
        const std::uint64_t sourceRow = bottomUp ? height - 1 - row : row;
        const unsigned char* source = bytes + offset + sourceRow * stride;
        if (bitCount == 24) {
            // Stored blue, green, red: exactly the byte order of QImage::Format_BGR888.
            std::memcpy(image.scanLine(int(row)), source, rowBytes);
        } else {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(row)));
            for (std::int32_t x = 0; x < width; ++x)
                line[x] = qRgb(source[4 * x + 2], source[4 * x + 1], source[4 * x]);
        }
    }
    return image;
}

HGLOBAL PackedDibFromImage(const QImage& image) {
    if (image.isNull())
        return nullptr;
    const std::uint64_t width = std::uint64_t(image.width());
    const std::uint64_t height = std::uint64_t(image.height());
    const std::uint64_t stride = (3 * width + 3) & ~std::uint64_t(3);
    const std::uint64_t total = kInfoHeaderBytes + stride * height;
    if (total > kGlobalBlockMaxBytes)
        return nullptr;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::size_t(total));
    if (!block)
        return nullptr;
    const BlockLock lock(block);
    auto* bytes = reinterpret_cast<unsigned char*>(lock.Bytes());
    if (!bytes) {
        GlobalFree(block);
        return nullptr;
    }
    StoreLe32(bytes, kInfoHeaderBytes);
    StoreLe32(bytes + 4, std::uint32_t(width));
    StoreLe32(bytes + 8, std::uint32_t(height));
    StoreLe16(bytes + 12, 1);
    StoreLe16(bytes + 14, 24);
    StoreLe32(bytes + 20, std::uint32_t(stride * height));
    for (std::uint64_t row = 0; row < height; ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(int(height - 1 - row)));
        unsigned char* target = bytes + kInfoHeaderBytes + row * stride;
        for (std::uint64_t x = 0; x < width; ++x) {
            target[3 * x] = static_cast<unsigned char>(qBlue(line[x]));
            target[3 * x + 1] = static_cast<unsigned char>(qGreen(line[x]));
            target[3 * x + 2] = static_cast<unsigned char>(qRed(line[x]));
        }
    }
    return block;
}
