#pragma once

#include "platform/Types.h"
#include "platform/gdi/DeviceMapping.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/geometry/CPoint.h"
#include "platform/geometry/CRect.h"

#include <cstddef>
#include <cstdint>

// What a pen draws with, copied from the pen when it is selected, so that a device never
// reaches back into an object that its owner may already have destroyed.
struct PenAttributes {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;

    friend bool operator==(const PenAttributes&, const PenAttributes&) = default;
};

// Where a CDC's drawing goes: a 32-bit image in memory, a QPainter, or a test's recorder. The
// CDC keeps the state (position, pen, brush, raster operation) and hands each primitive over
// with the state it needs.
class DrawingDevice {
public:
    virtual ~DrawingDevice() = default;

    // Draws from `from` towards `to` and leaves out the pixel of `to`, so that lines joined end
    // to start touch no pixel twice. `phase` is the position in the pen's pattern at `from`;
    // the device advances it by the line's length in pixels, so that the pattern runs on across
    // the lines of one chain.
    virtual void Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) = 0;

    // Draws count = 1 + 3k points as cubic Bezier segments joined end to start, leaving out the
    // last pixel of the last one, with the pen's pattern running on from one segment to the next.
    virtual void PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) = 0;

    // Fills left <= x < right, top <= y < bottom with the colour, whatever the raster operation.
    // An empty or inverted rectangle fills nothing.
    virtual void FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom, COLORREF color) = 0;

    // Fills the square of half screen units on each side of the centre's pixel, the same size on
    // the screen at any zoom. Where units are the screen's own, it is the centre's rectangle
    // grown by half, filled as FillRect fills it.
    virtual void FillSquare(CPoint centre, int half, COLORREF color) {
        FillRect(std::int64_t(centre.x) - half, std::int64_t(centre.y) - half,
                 std::int64_t(centre.x) + half, std::int64_t(centre.y) + half, color);
    }
    // The same square around each of many centres, none of whose squares wraps around the
    // coordinate range: what a selection's handles are.
    virtual void FillSquares(const CPoint* centres, std::size_t count, int half, COLORREF color) {
        for (std::size_t i = 0; i < count; ++i)
            FillSquare(centres[i], half, color);
    }

    // Shows the drawing through a window's mapping from now on. A device that draws in its own
    // units (a printer's page) keeps them.
    virtual void SetMapping(const DeviceMapping&) {}

    // The logical part outside which nothing drawn shows. Drawing may leave out whatever lies
    // wholly outside it; a device that cannot tell answers with the whole coordinate range.
    virtual CRect ClipBox() const { return kEverywhere; }

    static constexpr CRect kEverywhere{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
};
