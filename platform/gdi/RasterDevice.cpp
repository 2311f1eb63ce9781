#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/raster/BezierSampler.h"
#include "platform/gdi/raster/LineStepper.h"
#include "platform/gdi/raster/PixelOps.h"

#include <QImage>

#include <algorithm>
#include <type_traits>

using namespace raster;

RasterDevice::RasterDevice(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride,
                           CPoint origin, DeviceScale scale)
    : m_bits(bits), m_width(bits ? std::max(width, 0) : 0),
      m_height(bits ? std::max(height, 0) : 0), m_stride(stride), m_origin(origin), m_scale(scale) {
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

std::unique_ptr<DrawingDevice> RasterDevice::OnWindowImage(QImage* image) {
    if (!IsRasterImage(image))
        return nullptr;
    std::unique_ptr<RasterDevice> device = DeviceOn(image);
    device->HoldBack();
    return device;
}

void RasterDevice::Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) {
    Flush();
    const PenPattern pattern = PenPattern::ForStyle(pen.style).ScaledBy(m_scale);
    WithPixelOp(rop, pen, [&](auto op, auto patterned) {
        using Op = decltype(op);
        LineStepper<Op, decltype(patterned)::value> stepper(
            RasterPen<Op>{m_bits, m_width, m_height, m_stride, op, pattern, phase});
        // Mapped to pixels and the origin's pixel taken off in 64 bits, so that no logical
        // coordinate, times any ratio, can overflow.
        stepper.Line(X(from.x), Y(from.y), X(to.x), Y(to.y));
        phase = stepper.Phase();
    });
}

void RasterDevice::PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) {
    if (points == nullptr || count < 4)
        return;
    const PenPattern pattern = PenPattern::ForStyle(pen.style).ScaledBy(m_scale);
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
        BezierSampler<Op, kPatterned> sampler(
            RasterPen<Op>{m_bits, m_width, m_height, m_stride, op, pattern, 0}, m_scale, m_origin,
            held);
        sampler.Bezier(points, count);
    });
}

void RasterDevice::FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                            std::int64_t bottom, COLORREF color) {
    Flush();
    // Edges map as points do, so that a square around a point stays around its pixel.
    left = X(left);
    top = Y(top);
    right = X(right);
    bottom = Y(bottom);
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, m_width);
    bottom = std::min<std::int64_t>(bottom, m_height);
    if (left >= right || top >= bottom)
        return;
    const std::uint32_t value = ToPixel(color);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t* row = m_bits + y * m_stride;
        std::fill(row + left, row + right, value);
    }
}
