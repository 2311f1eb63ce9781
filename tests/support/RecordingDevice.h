#pragma once

#include "platform/gdi/DrawingDevice.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// A drawing device that keeps every primitive handed to it, with the state it came with.
class RecordingDevice : public DrawingDevice {
public:
    enum class Op { Line, PolyBezier, FillRect };

    struct Call {
        Op op;
        std::vector<CPoint> points; // line: from, to; Bezier: all points
        PenAttributes pen;
        int rop = 0;
        int phase = 0;                       // pattern position at the start of a line
        std::int64_t rect[4] = {0, 0, 0, 0}; // fill: left, top, right, bottom
        COLORREF color = 0;
    };

    std::vector<Call> calls;

    void Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) override {
        Call c{Op::Line, {from, to}, pen, rop, phase};
        calls.push_back(c);
        const std::int64_t dx = std::int64_t(to.x) - from.x;
        const std::int64_t dy = std::int64_t(to.y) - from.y;
        phase = int((phase + std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy)) % 1000);
    }

    void PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) override {
        calls.push_back(
            Call{Op::PolyBezier, std::vector<CPoint>(points, points + count), pen, rop});
    }

    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  COLORREF color) override {
        Call c{Op::FillRect, {}, {}, 0};
        c.rect[0] = left;
        c.rect[1] = top;
        c.rect[2] = right;
        c.rect[3] = bottom;
        c.color = color;
        calls.push_back(c);
    }
};
