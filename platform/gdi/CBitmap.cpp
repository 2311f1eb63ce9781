#include "platform/gdi/CBitmap.h"

#include "platform/gdi/CDC.h"

#include <QImage>

CBitmap::CBitmap() : CGdiObject(Kind::Bitmap) {}

CBitmap::CBitmap(StockTag) : CGdiObject(Kind::Bitmap) {
    SetValid(true);
    MakeStock();
}

CBitmap::~CBitmap() {
    if (m_pSelectedInto != nullptr)
        m_pSelectedInto->ForgetBitmap(this);
}

bool CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) {
    if (IsValid() || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;
    if (std::int64_t(width) * height * 4 > kMaxBytes)
        return false;
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull())
        return false;
    image->fill(0xFF000000u);
    m_image = std::move(image);
    SetValid(true);
    return true;
}

bool CBitmap::DeleteObject() {
    // Like the system's, a bitmap that a surface still draws into stays.
    if (m_pSelectedInto != nullptr || !CGdiObject::DeleteObject())
        return false;
    m_image.reset();
    return true;
}

int CBitmap::GetWidth() const {
    return m_image ? m_image->width() : 0;
}

int CBitmap::GetHeight() const {
    return m_image ? m_image->height() : 0;
}
