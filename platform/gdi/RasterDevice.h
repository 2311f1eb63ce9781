#pragma once

#include "platform/gdi/DeviceMapping.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/gdi/DrawingDevice.h"
#include "platform/gdi/raster/HeldSegment.h"
#include "platform/gdi/raster/PixelOps.h"

#include <cstddef>
#include <cstdint>
#include <functional>
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
    // window showing that part would. scale: how logical units map to the image's pixels, for a
    // screen with more pixels than units; lines stay one pixel wide whatever it is.
    RasterDevice(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride,
                 CPoint origin = CPoint(), DeviceScale scale = DeviceScale());
    ~RasterDevice() override;

    // A device over the image's pixels, or null for an image that is null or not 32-bit RGB.
    // The image's device pixel ratio maps logical units to its pixels.
    static std::unique_ptr<DrawingDevice> OnImage(QImage* image);
    // The same for a window's image that nobody reads until the device is flushed or destroyed.
    // Curves in one colour are then held back and drawn together at the end, in a band of rows
    // for each drawing thread at the same time (with one drawing thread they are drawn straight
    // away); the pixels are the same.
    // With a part (logical units, right and bottom edges outside), only the pixels within it
    // are written, and they are those that drawing on the whole image gives.
    // With a mapping, units map through it rather than through the image's ratio.
    static std::unique_ptr<DrawingDevice> OnWindowImage(QImage* image, const CRect* pPart = nullptr,
                                                        const DeviceMapping* pMapping = nullptr);
    // A device over the image's rows top to bottom - 1 alone, units mapped through the mapping,
    // that draws everything at once: one of several threads drawing the image side by side,
    // each in rows of its own. The pixels are those that drawing on the whole image gives. The
    // image's pixels must be its own already (bits() or fill() was called on it).
    static std::unique_ptr<DrawingDevice> OnImageRows(QImage* image, const DeviceMapping& mapping,
                                                      int top, int bottom);

    void Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) override;
    void PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) override;
    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  COLORREF color) override;
    void FillSquare(CPoint centre, int half, COLORREF color) override;
    void FillSquares(const CPoint* centres, std::size_t count, int half, COLORREF color) override;
    // Shows the drawing through another mapping from now on; the pixels that may change stay
    // the same.
    void SetMapping(const DeviceMapping& mapping) override;
    // Draws whatever is held back.
    void Flush();
    // How many threads draw what windows' devices hold back, and how many bands a picture
    // drawn away from the window is shared out in: the hardware's count for 0, the default. One
    // lets a measurement see what a single processor does.
    static void SetDrawingThreads(unsigned threads);
    static unsigned DrawingThreads();
    // Runs draw for every band, each but the first on a thread of its own; the bands of threads
    // that cannot be started are drawn on the calling thread. Each band writes only its own rows,
    // so no two touch the same pixel.
    static void DrawInBands(std::int64_t bands, const std::function<void(std::int64_t)>& draw);
    // Where pixels may change, in logical units.
    CRect ClipBox() const override;
    // Leaves as they are the pixels that drawing within the logical part cannot touch.
    void ClipTo(const CRect& part);
    // Whether the device draws on the image's own pixels, and only on a part of them.
    bool DrawsOn(const QImage& image) const;
    bool IsClipped() const;
    // Copies the pixels within the clip from an image of the device's size; false, copying
    // nothing, for an image of another size or format.
    bool CopyFrom(const QImage& image);

private:
    // Fills image pixels left <= x < right, top <= y < bottom, within the clip.
    void FillPixels(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                    COLORREF color);
    // FillSquares at one pixel per unit for squares that crowd the clip; throws bad_alloc,
    // having filled nothing, when its map cannot be had.
    void FillSquaresByMap(const CPoint* centres, std::size_t count, int half, std::uint32_t value);
    // The room one band of rows needs to find its squares as a map.
    struct SquareMaps {
        std::int64_t width = 0;
        std::int64_t height = 0;
        std::int64_t mapWidth = 0;
        std::int64_t mapHeight = 0;
        std::vector<std::uint8_t> map;
        std::vector<std::uint8_t> across;
        std::vector<std::uint16_t> down;
        // Throws bad_alloc when the room cannot be had.
        void Size(std::int64_t clipWidth, std::int64_t rows, int half);
    };
    // The squares' pixels within the clip's columns on the rows the maps were sized for,
    // starting at the image row top.
    void FillSquaresInRows(const CPoint* centres, std::size_t count, int half, std::uint32_t value,
                           std::int64_t top, SquareMaps& maps) const;
    // Starts holding curves back until the device is flushed or destroyed.
    void HoldBack();
    // The bands of the clip's rows that work on so many items is shared out in: one for each
    // drawing thread, none for fewer items than make starting a thread worth it, and no more
    // than there are rows.
    std::int64_t Bands(std::size_t items, std::size_t itemsWorthAThread) const;
    // The first image row of a band, or the end of the clip's rows for the band past the last.
    std::int64_t BandTop(std::int64_t band, std::int64_t bands) const {
        return m_clip.top + m_clip.Height() * band / bands;
    }
    // The image column and row that show a logical coordinate.
    std::int64_t X(std::int64_t x) const { return m_map.X(x); }
    std::int64_t Y(std::int64_t y) const { return m_map.Y(y); }
    // A pen on this image, writing only within the clip.
    template <class Op>
    raster::RasterPen<Op> PenOnImage(Op op, PenPattern pattern, int phase) const {
        return {m_bits, m_width,     m_height,   m_stride,     op,           pattern,
                phase,  m_clip.left, m_clip.top, m_clip.right, m_clip.bottom};
    }

    std::uint32_t* m_bits;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride;
    // The pixels that may change, in image coordinates within the image.
    CRect m_clip;
    DeviceMapping m_map;
    bool m_bHolding = false;
    std::uint32_t m_heldPixel = 0;
    std::vector<raster::HeldSegment> m_held;
};
