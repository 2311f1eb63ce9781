#pragma once

#include "platform/gdi/DrawingDevice.h"

class QPainter;

// Draws through a QPainter, for printed pages and their preview: Bezier segments stay curves,
// so a printed PDF holds real vector curves. One logical unit is one unit of the painter.
// The painter's own state is left as it was found after every primitive.
class PainterDevice final : public DrawingDevice {
public:
    explicit PainterDevice(QPainter* painter) : m_painter(painter) {}

    void Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) override;
    void PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) override;
    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  COLORREF color) override;

private:
    // Sets up pen and composition for one primitive; false when nothing is to be drawn.
    bool Prepare(const PenAttributes& pen, int rop, int phase);

    QPainter* m_painter;
};
