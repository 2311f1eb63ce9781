#include "platform/gdi/CPicture.h"

#include "platform/gdi/RasterDevice.h"

#include <QBuffer>
#include <QImage>

#include <new>

CPicture::CPicture() = default;

CPicture::~CPicture() {
    // The surface lets go of the device before the device and its pixels go.
    m_dc.DetachDevice();
}

bool CPicture::IsWithinLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           width * height * 4 <= kMaxBytes;
}

bool CPicture::Create(const CRect& area) {
    m_dc.DetachDevice();
    m_device.reset();
    m_image.reset();
    m_area = CRect();
    if (!IsWithinLimits(area.Width(), area.Height()))
        return false;
    auto image = std::unique_ptr<QImage>(
        new (std::nothrow) QImage(int(area.Width()), int(area.Height()), QImage::Format_RGB32));
    if (image == nullptr || image->isNull())
        return false;
    image->fill(Qt::white);
    m_device = std::make_unique<RasterDevice>(reinterpret_cast<std::uint32_t*>(image->bits()),
                                              image->width(), image->height(),
                                              image->bytesPerLine() / 4, area.TopLeft());
    m_image = std::move(image);
    m_area = area;
    m_dc.AttachDevice(m_device.get());
    return true;
}

COLORREF CPicture::GetPixel(int x, int y) const {
    const std::int64_t px = std::int64_t(x) - m_area.left;
    const std::int64_t py = std::int64_t(y) - m_area.top;
    if (m_image == nullptr || px < 0 || py < 0 || px >= m_image->width() || py >= m_image->height())
        return RGB(255, 255, 255);
    const QRgb rgb = m_image->pixel(int(px), int(py));
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

std::string CPicture::EncodePng() const {
    if (m_image == nullptr)
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!m_image->save(&buffer, "PNG"))
        return {};
    return bytes.toStdString();
}
