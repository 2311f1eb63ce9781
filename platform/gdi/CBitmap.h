#pragma once

#include "platform/gdi/CGdiObject.h"

#include <cstdint>
#include <memory>

class CDC;
class QImage;

// A bitmap in the display's format: 32 bits a pixel, 0xFFRRGGBB. It is drawn on by selecting it
// into a memory surface (CDC::CreateCompatibleDC) and read with GetDIBits.
class CBitmap : public CGdiObject {
public:
    // The largest bitmap made: a side of 16384 pixels and 256 MiB of pixels. Sizes come from
    // curves, and curves come from files and other programs.
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxBytes = std::int64_t(256) << 20;

    CBitmap();
    ~CBitmap() override;

    // Makes a bitmap of width by height pixels, cleared to black. Refuses, without allocating,
    // sizes that are not positive or beyond the limits above, and fails when memory is short.
    bool CreateCompatibleBitmap(CDC* pDC, int width, int height);
    bool DeleteObject() override;

    int GetWidth() const;
    int GetHeight() const;
    // The pixels; null when the bitmap holds none.
    QImage* GetImage() const { return m_image.get(); }

private:
    friend class CDC;
    friend class StockObjects;
    struct StockTag {};
    explicit CBitmap(StockTag);

    std::unique_ptr<QImage> m_image;
    // The memory surface this bitmap is selected into, so that neither outlives the other's
    // knowledge of it.
    CDC* m_pSelectedInto = nullptr;
};
