#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/raster/BezierSampler.h"
#include "platform/gdi/raster/LineStepper.h"
#include "platform/gdi/raster/PixelOps.h"

#include <QImage>

#include <algorithm>
#include <climits>
#include <type_traits>

using namespace raster;

namespace {

// The most segments held back before they are drawn (8 MiB).
constexpr std::size_t kMostHeld = 256 * 1024;

} // namespace

RasterDevice::RasterDevice(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride,
                           CPoint origin, DeviceScale scale)
    : m_bits(bits), m_width(bits ? std::max(width, 0) : 0),
      m_height(bits ? std::max(height, 0) : 0), m_stride(stride), m_clip(0, 0, m_width, m_height),
      m_map(DeviceMapping::At(scale, origin.x, origin.y)) {}

void RasterDevice::SetMapping(const DeviceMapping& mapping) {
    Flush();
    m_map = mapping;
}

CRect RasterDevice::ClipBox() const {
    if (m_clip.IsRectEmpty())
        return CRect();
    // The fewest logical units whose pixels cover the clip; a part of an image far out in the
    // coordinate range is cut to the range.
    return m_map.ToUnits(m_clip);
}

void RasterDevice::ClipTo(const CRect& part) {
    Flush();
    // Edges map as points do, as for a fill, except that the pixel of the part's last column
    // or row of units stays inside where several units share it.
    const auto within = [](std::int64_t v, int size) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, size));
    };
    const CRect reach = m_map.Reach(part);
    const CRect clip(within(reach.left, m_width), within(reach.top, m_height),
                     within(reach.right, m_width), within(reach.bottom, m_height));
    // The pens rely on a clip that is empty only as the rectangle with no pixels at all.
    if (!IntersectRect(&m_clip, &m_clip, &clip))
        m_clip = CRect();
}

namespace {

bool IsRasterImage(const QImage* image) {
    if (image == nullptr || image->isNull())
        return false;
    const QImage::Format format = image->format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

std::unique_ptr<RasterDevice> DeviceOn(QImage* image) {
    // bits() makes the image's pixels its own if they were shared, so that what is drawn here
    // is what the image shows.
    auto* bits = reinterpret_cast<std::uint32_t*>(image->bits());
    // An image made for a screen with more pixels than logical units says so by its ratio.
    return std::make_unique<RasterDevice>(bits, image->width(), image->height(),
                                          image->bytesPerLine() / 4, CPoint(),
                                          DeviceScale::FromRatio(image->devicePixelRatio()));
}

} // namespace

std::unique_ptr<DrawingDevice> RasterDevice::OnImage(QImage* image) {
    if (!IsRasterImage(image))
        return nullptr;
    return DeviceOn(image);
}

std::unique_ptr<DrawingDevice> RasterDevice::OnWindowImage(QImage* image, const CRect* pPart,
                                                           const DeviceMapping* pMapping) {
    if (!IsRasterImage(image))
        return nullptr;
    std::unique_ptr<RasterDevice> device = DeviceOn(image);
    if (pMapping != nullptr)
        device->m_map = *pMapping;
    if (pPart != nullptr)
        device->ClipTo(*pPart);
    device->HoldBack();
    return device;
}

std::unique_ptr<DrawingDevice>
RasterDevice::OnImageRows(QImage* image, const DeviceMapping& mapping, int top, int bottom) {
    if (!IsRasterImage(image))
        return nullptr;
    // Several threads draw on the image at once, and bits() would write to it in each: the
    // caller has made its pixels its own before sharing it.
    auto* bits = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(image->constBits()));
    auto device = std::make_unique<RasterDevice>(bits, image->width(), image->height(),
                                                 image->bytesPerLine() / 4);
    device->m_map = mapping;
    const CRect rows(0, top, device->m_width, bottom);
    // The pens rely on a clip that is empty only as the rectangle with no pixels at all.
    if (!IntersectRect(&device->m_clip, &device->m_clip, &rows))
        device->m_clip = CRect();
    return device;
}

bool RasterDevice::DrawsOn(const QImage& image) const {
    return reinterpret_cast<const std::uint32_t*>(image.constBits()) == m_bits &&
           image.width() == m_width && image.height() == m_height;
}

bool RasterDevice::IsClipped() const {
    return m_clip != CRect(0, 0, m_width, m_height);
}

bool RasterDevice::CopyFrom(const QImage& image) {
    if (!IsRasterImage(&image) || image.width() != m_width || image.height() != m_height)
        return false;
    Flush();
    const std::ptrdiff_t from = image.bytesPerLine() / 4;
    const auto* source = reinterpret_cast<const std::uint32_t*>(image.constBits());
    for (std::int64_t y = m_clip.top; y < m_clip.bottom; ++y)
        std::copy(source + y * from + m_clip.left, source + y * from + m_clip.right,
                  m_bits + y * m_stride + m_clip.left);
    return true;
}

void RasterDevice::Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) {
    Flush();
    const PenPattern pattern = PenPattern::ForStyle(pen.style).ScaledBy(m_map.Screen());
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        using Op = decltype(op);
        LineStepper<Op, decltype(patterned)::value> stepper(PenOnImage(op, pattern, phase));
        // Mapped to pixels and the origin's pixel taken off in 64 bits, so that no logical
        // coordinate, times any ratio, can overflow.
        stepper.Line(X(from.x), Y(from.y), X(to.x), Y(to.y));
        phase = stepper.Phase();
    });
}

void RasterDevice::PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) {
    if (points == nullptr || count < 4)
        return;
    const PenPattern pattern = PenPattern::ForStyle(pen.style).ScaledBy(m_map.Screen());
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        using Op = decltype(op);
        constexpr bool kPatterned = decltype(patterned)::value;
        // Only segments of one colour under a solid copying pen are held back, for their order
        // does not matter; anything else is drawn after what is held, in order.
        std::vector<HeldSegment>* held = nullptr;
        if constexpr (std::is_same_v<Op, CopyOp> && !kPatterned) {
            if (m_bHolding) {
                if (op.value != m_heldPixel)
                    Flush();
                m_heldPixel = op.value;
                held = &m_held;
            }
        } else {
            Flush();
        }
        BezierSampler<Op, kPatterned> sampler(PenOnImage(op, pattern, 0), m_map, held);
        sampler.Bezier(points, count);
    });
    // A vast drawing is drawn a few megabytes of segments at a time rather than held whole.
    if (m_held.size() >= kMostHeld)
        Flush();
}

void RasterDevice::FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, COLORREF color) {
    // Edges map as points do, so that a square around a point stays around its pixel.
    FillPixels(X(left), Y(top), X(right), Y(bottom), color);
}

void RasterDevice::FillPixels(std::int64_t left, std::int64_t top, std::int64_t right,
                              std::int64_t bottom, COLORREF color) {
    left = std::max<std::int64_t>(left, m_clip.left);
    top = std::max<std::int64_t>(top, m_clip.top);
    right = std::min<std::int64_t>(right, m_clip.right);
    bottom = std::min<std::int64_t>(bottom, m_clip.bottom);
    if (left >= right || top >= bottom)
        return;
    Flush();
    const std::uint32_t value = ToPixel(color);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t* row = m_bits + y * m_stride;
        std::fill(row + left, row + right, value);
    }
}

void RasterDevice::FillSquare(CPoint centre, int half, COLORREF color) {
    // The square keeps its size on the screen whatever the zoom, around the centre's pixel.
    const std::int64_t x = X(centre.x);
    const std::int64_t y = Y(centre.y);
    FillPixels(x + m_map.ScreenOffset(centre.x, -half), y + m_map.ScreenOffset(centre.y, -half),
               x + m_map.ScreenOffset(centre.x, half), y + m_map.ScreenOffset(centre.y, half),
               color);
}
