// A curve of any 32-bit control points, as a record or a file could bring, converted and
// drawn plainly and as a dotted outline onto a small surface. Coordinates far outside the
// surface must be clipped, never walked, so drawing any curve has to end promptly; the outline
// inverts, so drawing it twice must give back the surface it found. A copying pen takes its own
// quick way through the pixels, so it must mark exactly the pixels that masking with black marks,
// and a window's surface, which holds curves back, must end with the same pixels again. All of
// it also on surfaces with more pixels than logical units, as HiDPI screens have them.

#include "FuzzCheck.h"

#include "curve/CCurve.h"
#include "platform/gdi/CDC.h"

#include <QImage>

#include <cstring>

namespace {

// Enough points for every shape of the conversion, few enough to keep each run short.
constexpr std::size_t kMaxPoints = 64;

std::int32_t Le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte: whether the curve is closed, which surface it is drawn on and at which
    // ratio; then the outline's offset; then the points.
    if (size < 9)
        return 0;
    CCurve curve;
    curve.m_bClosed = (data[0] & 1) != 0;
    const std::int32_t dx = Le32(data + 1);
    const std::int32_t dy = Le32(data + 5);
    for (std::size_t at = 9; at + 8 <= size && curve.m_points.size() < kMaxPoints; at += 8)
        curve.m_points.emplace_back(Le32(data + at), Le32(data + at + 4));

    const std::vector<CPoint> bezier = curve.ToBezier();
    FUZZ_CHECK(curve.m_points.size() < 4 || (bezier.size() - 1) % 3 == 0);

    static constexpr double kRatios[] = {1.0, 1.5, 2.0, 1.25};
    const double ratio = kRatios[(data[0] >> 3) & 3];
    QImage image(data[0] & 2 ? 7 : 48, data[0] & 4 ? 5 : 32, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(0xFFFFFFFF);
    CDC dc;
    dc.AttachImage(&image);
    curve.Draw(&dc);

    const QImage drawn = image.copy();
    curve.DrawTracker(&dc, dx, dy);
    curve.DrawTracker(&dc, dx, dy);
    FUZZ_CHECK(image == drawn);

    QImage masked(image.size(), QImage::Format_RGB32);
    masked.setDevicePixelRatio(ratio);
    masked.fill(0xFFFFFFFF);
    CDC maskDc;
    maskDc.AttachImage(&masked);
    maskDc.SetROP2(R2_MASKPEN);
    curve.Draw(&maskDc);
    FUZZ_CHECK(masked == drawn);

    // A window's surface holds the curve back and draws it when it lets go: the same pixels.
    QImage window(image.size(), QImage::Format_RGB32);
    window.setDevicePixelRatio(ratio);
    window.fill(0xFFFFFFFF);
    CDC windowDc;
    windowDc.AttachWindowImage(&window);
    curve.Draw(&windowDc);
    windowDc.DetachDevice();
    FUZZ_CHECK(window == drawn);
    return 0;
}
