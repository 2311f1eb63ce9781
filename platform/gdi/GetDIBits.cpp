#include "platform/gdi/GetDIBits.h"

#include "platform/gdi/CBitmap.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <cstring>

int GetDIBits(CDC*, CBitmap* bitmap, UINT startScan, UINT scanLines, void* bits, BITMAPINFO* info,
              UINT usage) {
    if (bitmap == nullptr || info == nullptr || usage != DIB_RGB_COLORS)
        return 0;
    const QImage* image = bitmap->GetImage();
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (image == nullptr || image->isNull() || h.biSize < sizeof(BITMAPINFOHEADER) ||
        h.biCompression != BI_RGB || (h.biBitCount != 24 && h.biBitCount != 32))
        return 0;
    // The header may come from anywhere: its sizes are held to the same limits as bitmaps.
    const std::int64_t width = h.biWidth;
    const std::int64_t rows = std::llabs(std::int64_t(h.biHeight));
    if (width <= 0 || rows == 0 || width > CBitmap::kMaxSide || rows > CBitmap::kMaxSide)
        return 0;
    const int bytesPerPixel = h.biBitCount / 8;
    const std::int64_t stride = (width * bytesPerPixel + 3) & ~std::int64_t(3);
    h.biSizeImage = static_cast<std::uint32_t>(stride * rows);
    if (bits == nullptr)
        return int(std::min<std::int64_t>(rows, image->height()));

    const bool bottomUp = h.biHeight > 0;
    const std::int64_t first = startScan;
    const std::int64_t last = std::min<std::int64_t>(first + scanLines, image->height());
    const std::int64_t copyWidth = std::min<std::int64_t>(width, image->width());
    auto* out = static_cast<std::uint8_t*>(bits);
    for (std::int64_t s = first; s < last; ++s) {
        const int row = int(bottomUp ? image->height() - 1 - s : s);
        const auto* in = reinterpret_cast<const std::uint32_t*>(image->constScanLine(row));
        std::uint8_t* o = out + (s - first) * stride;
        std::memset(o, 0, std::size_t(stride));
        for (std::int64_t x = 0; x < copyWidth; ++x) {
            const std::uint32_t p = in[x];
            o[0] = std::uint8_t(p);
            o[1] = std::uint8_t(p >> 8);
            o[2] = std::uint8_t(p >> 16);
            o += bytesPerPixel;
        }
    }
    return last > first ? int(last - first) : 0;
}
