#pragma once

#include "platform/gdi/DrawingDevice.h"
#include "platform/gdi/raster/HeldSegment.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;

// Our own one-pixel rasteriser over 32-bit pixels 0xAARRGGBB, written straight into the memory
// that a window or bitmap shows. Every primitive is clipped to the image before a pixel is
// walked, so that coordinates anywhere in the 32-bit range cost no more than the visible part.
//
// Lines step one pixel along the major axis and round the other coordinate half up, leaving out
// the last pixel. Bezier segments are sampled in steps short enough that the rounded samples,
// joined through the pixels halfway between them, make an unbroken chain along the curve, again
// leaving out the last pixel; segments whose control points lie wholly outside the image are
// skipped, and large ones are halved until their visible parts are small.
class RasterDevice final : public DrawingDevice {
public:
    // stride: pixels from one row to the next. origin: the logical point that the image's top
    // left pixel shows, so that a picture of any part of a drawing gets the very pixels that a
    // window showing that part would.
    RasterDevice(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride,
                 CPoint origin = CPoint());
    ~RasterDevice() override;

    // A device over the image's pixels, or null for an image that is null or not 32-bit RGB.
    static std::unique_ptr<DrawingDevice> OnImage(QImage* image);
    // The same for a window's image that nobody reads until the device is flushed or destroyed.
    // Curves in one colour are then held back and drawn together at the end, the top and the
    // bottom half of the image at the same time on two processors; the pixels are the same.
    static std::unique_ptr<DrawingDevice> OnWindowImage(QImage* image);

    void Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) override;
    void PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) override;
    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  COLORREF color) override;
    // Draws whatever is held back.
    void Flush();

private:
    // Starts holding curves back until the device is flushed or destroyed.
    void HoldBack();

    std::uint32_t* m_bits;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride;
    CPoint m_origin;
    bool m_bHolding = false;
    std::uint32_t m_heldPixel = 0;
    std::vector<raster::HeldSegment> m_held;
};
