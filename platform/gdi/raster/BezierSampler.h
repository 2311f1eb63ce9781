#pragma once

#include "platform/gdi/DeviceMapping.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/gdi/raster/CubicSteps.h"
#include "platform/gdi/raster/HeldSegment.h"
#include "platform/gdi/raster/PixelOps.h"
#include "platform/geometry/CPoint.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace raster {
// Internal linkage lets the compiler specialise the sampling loops for their one caller in
// each file, which it does not do for functions other files might share.
namespace {

// A segment too long to sample in kMaxSteps is halved, at most this many times over.
constexpr int kMaxDepth = 48;
// Samples beyond this many pixels from the image's origin do not fit the fixed point.
constexpr double kFixedLimit = 1073741824.0; // 2^30

struct Segment {
    double x[4];
    double y[4];
};

template <class Op, bool Patterned> class BezierSampler {
    // A solid pen that copies its colour gives the same pixels however often and in whatever
    // order it touches them.
    static constexpr bool kIdempotent = !Patterned && std::is_same_v<Op, CopyOp>;

public:
    // mapping: how logical coordinates map to the image's pixels. held: where segments that need no
    // clipping go instead of being drawn, for a solid copying pen; null to draw everything at once.
    BezierSampler(const RasterPen<Op>& pen, const DeviceMapping& mapping,
                  std::vector<HeldSegment>* held = nullptr)
        : m_bits(pen.bits), m_left(pen.clipLeft), m_right(pen.Right()), m_top(pen.clipTop),
          m_bottom(pen.Bottom()),
          // Any other pen carries state from one segment to the next (a pattern, the last
          // pixel), so it skips only what lies outside the image, as it would with no clip.
          m_skipLeft(kIdempotent ? m_left : 0), m_skipTop(kIdempotent ? m_top : 0),
          m_skipRight(kIdempotent ? m_right : pen.width),
          m_skipBottom(kIdempotent ? m_bottom : pen.height), m_stride(pen.stride),
          m_scale(mapping.Scale()), m_ox(mapping.OriginX()), m_oy(mapping.OriginY()), m_op(pen.op),
          m_pattern(pen.pattern), m_phase(pen.phase), m_held(held), m_within(Within()) {}

    // Held segments write only rows top to bottom - 1, within the clip; Bezier is not called
    // after this.
    void SetRows(int top, int bottom) {
        m_top = top;
        m_bottom = bottom;
    }

    // A segment held back by the device: inside the clip, and few enough steps.
    void Held(const HeldSegment& held) {
        const int minY = std::min(std::min(held.y[0], held.y[1]), std::min(held.y[2], held.y[3]));
        const int maxY = std::max(std::max(held.y[0], held.y[1]), std::max(held.y[2], held.y[3]));
        if (maxY < m_top || minY >= m_bottom)
            return;
        std::int64_t px[4];
        std::int64_t py[4];
        for (int j = 0; j < 4; ++j) {
            px[j] = held.x[j];
            py[j] = held.y[j];
        }
        const int n = int(held.lastStep) + 1;
        if (minY >= m_top && maxY < m_bottom)
            Sample<false>(px, py, n, held.endDrawn);
        else
            Sample<true>(px, py, n, held.endDrawn);
    }

    // Logical coordinates: they map to whole pixels and the origin's pixel is taken off here, in
    // 64 bits, which hold any 32-bit coordinate times any ratio. Whole pixels let a segment on a
    // screen with more pixels per unit be drawn, and held back, as any other.
    void Bezier(const CPoint* points, int count) {
        if constexpr (kIdempotent) {
            if (m_scale.IsOne())
                BezierAtUnitScale(points, count);
            else
                BezierScaled(points, count);
            return;
        }
        if (m_scale.IsOne())
            BezierMapped<true>(points, count);
        else
            BezierMapped<false>(points, count);
    }

private:
    // A copying pen's segments at a unit per pixel. Most segments of a repaint lie wholly
    // inside the window: they are told by their points and need none of the tests that place
    // a segment against the clip. Mapping is a shift, which leaves the differences between
    // points as they are: only such a segment's ends are mapped.
    void BezierAtUnitScale(const CPoint* points, int count) {
        const std::int64_t ox = m_ox;
        const std::int64_t oy = m_oy;
        for (int i = 0; i + 3 < count; i += 3) {
            const CPoint* p = points + i;
            const PointPairs pairs(p);
            if (!m_within.Holds(pairs)) {
                const std::int64_t px[4] = {p[0].x - ox, p[1].x - ox, p[2].x - ox, p[3].x - ox};
                const std::int64_t py[4] = {p[0].y - oy, p[1].y - oy, p[2].y - oy, p[3].y - oy};
                MappedSegment<true>(points, count, i, px, py);
                continue;
            }
            const PairedDeltas deltas(pairs.first, pairs.second);
            const std::int64_t n = Deltas::Steps(deltas.Bound4());
            if (n > kMaxSteps || m_held != nullptr) {
                const std::int64_t px[4] = {p[0].x - ox, p[1].x - ox, p[2].x - ox, p[3].x - ox};
                const std::int64_t py[4] = {p[0].y - oy, p[1].y - oy, p[2].y - oy, p[3].y - oy};
                if (n > kMaxSteps)
                    Curve(SegmentOf(px, py), 0);
                else
                    Hold(px, py, int(n), EndDrawnAfter<true>(points, count, i, px[3], py[3]));
                continue;
            }
            // As EndDrawnAfter, on the points themselves, which map to the same pixel only when
            // they are the same.
            const bool endDrawn =
                i + 6 < count ? p[6] != p[3] : points[0] == p[3] && points[3] != p[3];
            Axes axes;
            axes.Set(p[0].x - ox, p[3].x - ox, p[0].y - oy, p[3].y - oy, deltas, int(n));
            Chain(axes.x, axes.y, int(n), endDrawn);
        }
    }

    // A copying pen's segments at any other ratio: those whose points lie inside the clip's
    // units are told by their points, as at a unit per pixel, and need no other test against
    // the clip; their points are mapped, then stepped as there.
    void BezierScaled(const CPoint* points, int count) {
        ForMappedSegments<false>(
            points, count, [&](int i, const std::int64_t* px, const std::int64_t* py) {
                if (!m_within.Holds(PointPairs(points + i))) {
                    MappedSegment<false>(points, count, i, px, py);
                    return;
                }
                // Inside the clip, which is no more than PairedDeltas::kMostApart across, every
                // pixel fits the lanes.
                const PairedDeltas deltas(Int4{std::int32_t(px[0]), std::int32_t(py[0]),
                                               std::int32_t(px[1]), std::int32_t(py[1])},
                                          Int4{std::int32_t(px[2]), std::int32_t(py[2]),
                                               std::int32_t(px[3]), std::int32_t(py[3])});
                const std::int64_t n = Deltas::Steps(deltas.Bound4());
                if (n > kMaxSteps) {
                    Curve(SegmentOf(px, py), 0);
                    return;
                }
                const bool endDrawn = EndDrawnAfter<false>(points, count, i, px[3], py[3]);
                if (m_held != nullptr) {
                    Hold(px, py, int(n), endDrawn);
                    return;
                }
                Axes axes;
                axes.Set(px[0], px[3], py[0], py[3], deltas, int(n));
                Chain(axes.x, axes.y, int(n), endDrawn);
            });
    }

    static Segment SegmentOf(const std::int64_t* px, const std::int64_t* py) {
        Segment s;
        for (int j = 0; j < 4; ++j) {
            s.x[j] = double(px[j]);
            s.y[j] = double(py[j]);
        }
        return s;
    }

    // Keeps a segment inside the clip, in n steps, for the device to draw later.
    void Hold(const std::int64_t* px, const std::int64_t* py, int n, bool endDrawn) {
        m_held->push_back(
            {{std::int32_t(px[0]), std::int32_t(px[1]), std::int32_t(px[2]), std::int32_t(px[3])},
             {std::int32_t(py[0]), std::int32_t(py[1]), std::int32_t(py[2]), std::int32_t(py[3])},
             std::uint8_t(n - 1),
             endDrawn});
    }

    // UnitScale: a logical unit is a pixel, as on a window at its first zoom, and mapping is a
    // subtraction.
    template <bool UnitScale> void BezierMapped(const CPoint* points, int count) {
        ForMappedSegments<UnitScale>(points, count,
                                     [&](int i, const std::int64_t* px, const std::int64_t* py) {
                                         MappedSegment<UnitScale>(points, count, i, px, py);
                                     });
    }

    // Calls segment(i, px, py) for the segment of points[i] to points[i + 3] of each, its points
    // mapped to the pixels px, py. Each segment starts where the one before ended, so its first
    // point is mapped already.
    template <bool UnitScale, class Visit>
    [[gnu::always_inline]] void ForMappedSegments(const CPoint* points, int count,
                                                  const Visit& segment) {
        std::int64_t px[4];
        std::int64_t py[4];
        px[3] = MapX<UnitScale>(points[0].x);
        py[3] = MapY<UnitScale>(points[0].y);
        for (int i = 0; i + 3 < count; i += 3) {
            const CPoint* p = points + i;
            px[0] = px[3];
            py[0] = py[3];
            for (int j = 1; j < 4; ++j) {
                px[j] = MapX<UnitScale>(p[j].x);
                py[j] = MapY<UnitScale>(p[j].y);
            }
            segment(i, px, py);
        }
    }

    // Where a copying pen's points map inside the clip; empty for any other pen, and for a
    // clip so vast that differences of pixels inside it could overflow the lanes of
    // PairedDeltas.
    PointWindow Within() const {
        if (!kIdempotent || m_right - m_left > PairedDeltas::kMostApart ||
            m_bottom - m_top > PairedDeltas::kMostApart)
            return PointWindow();
        return PointWindow(m_scale, m_left, m_top, m_right, m_bottom, m_ox, m_oy);
    }

    // The segment of points[i] to points[i + 3], mapped to the pixels px, py.
    template <bool UnitScale>
    void MappedSegment(const CPoint* points, int count, int i, const std::int64_t* px,
                       const std::int64_t* py) {
        // Most segments of a drawing are short and lie wholly inside the window: they are
        // sorted out in integers, before any floating-point work.
        const std::int64_t minX = Min4(px);
        const std::int64_t maxX = Max4(px);
        const std::int64_t minY = Min4(py);
        const std::int64_t maxY = Max4(py);
        // A segment outside is skipped whole, and the pen's pattern does not run on over
        // it: the dots that show stay where they are when the curve is drawn again.
        if (maxX < m_skipLeft || maxY < m_skipTop || minX >= m_skipRight || minY >= m_skipBottom)
            return;
        const std::int64_t n = std::max(StepsFor(px), StepsFor(py));
        if (n > kMaxSteps) {
            Curve(SegmentOf(px, py), 0);
        } else if (minX >= m_left && minY >= m_top && maxX < m_right && maxY < m_bottom) {
            if constexpr (kIdempotent) {
                const bool endDrawn = EndDrawnAfter<UnitScale>(points, count, i, px[3], py[3]);
                if (m_held != nullptr) {
                    Hold(px, py, int(n), endDrawn);
                    return;
                }
                Sample<false>(px, py, int(n), endDrawn);
                return;
            }
            Sample<false>(px, py, int(n));
        } else {
            Sample<true>(px, py, int(n));
        }
    }

    template <class T> static T Min4(const T* v) {
        return std::min(std::min(v[0], v[1]), std::min(v[2], v[3]));
    }
    template <class T> static T Max4(const T* v) {
        return std::max(std::max(v[0], v[1]), std::max(v[2], v[3]));
    }

    // The image pixel of a logical coordinate.
    template <bool UnitScale> std::int64_t MapX(std::int32_t x) const {
        if constexpr (UnitScale)
            return x - m_ox;
        else
            return m_scale.Map32(x) - m_ox;
    }
    template <bool UnitScale> std::int64_t MapY(std::int32_t y) const {
        if constexpr (UnitScale)
            return y - m_oy;
        else
            return m_scale.Map32(y) - m_oy;
    }

    // Whether a copying pen's segment starting at points[i], lying inside the clip and ending on
    // the pixel given, may leave that pixel drawn: the next segment, or for the last one a first
    // segment starting there, draws its own first pixel whenever it ends on another, and does
    // so whatever way it is drawn. Reading the pixel to put it back costs a wait for memory.
    template <bool UnitScale>
    bool EndDrawnAfter(const CPoint* points, int count, int i, std::int64_t endX,
                       std::int64_t endY) const {
        if (i + 6 < count)
            return MapX<UnitScale>(points[i + 6].x) != endX ||
                   MapY<UnitScale>(points[i + 6].y) != endY;
        return MapX<UnitScale>(points[0].x) == endX && MapY<UnitScale>(points[0].y) == endY &&
               (MapX<UnitScale>(points[3].x) != endX || MapY<UnitScale>(points[3].y) != endY);
    }

    // The steps that keep every step below two pixels along one axis. Whole-numbered points
    // are bounded in integers, four times over.
    static std::int64_t StepsFor(const std::int64_t* p) {
        return Deltas::Steps(Deltas(p).Bound4());
    }

    // Three times the bound of Deltas for points anywhere between whole numbers, with a small
    // margin for rounding.
    static double SpeedBound(const double* p) {
        const double a = p[1] - p[0];
        const double b = p[2] - p[1];
        const double c = p[3] - p[2];
        const double bound = std::max({std::abs(a), std::abs(c), std::abs(a + b) / 2,
                                       std::abs(b + c) / 2, std::abs(a + 2 * b + c) / 4});
        return 3 * bound * (1 + 1e-9);
    }

    void Curve(const Segment& s, int depth) {
        const double minX = Min4(s.x);
        const double maxX = Max4(s.x);
        const double minY = Min4(s.y);
        const double maxY = Max4(s.y);
        // A Bezier segment lies within the hull of its control points, and a point rounds into
        // the image only from within half a pixel of it.
        if (maxX < m_skipLeft - 0.5 || maxY < m_skipTop - 0.5 || minX >= m_skipRight - 0.5 ||
            minY >= m_skipBottom - 0.5)
            return;
        const double speed = std::max(SpeedBound(s.x), SpeedBound(s.y)) / 2;
        if (speed >= kMaxSteps && depth < kMaxDepth) {
            Segment left;
            Segment right;
            Split(s.x, left.x, right.x);
            Split(s.y, left.y, right.y);
            Curve(left, depth + 1);
            Curve(right, depth + 1);
            return;
        }
        // Only a segment still vast after every halving, which whole-numbered points within
        // the 32-bit range never give, fails this; it has nothing that fixed point could draw.
        if (minX <= -kFixedLimit || minY <= -kFixedLimit || maxX >= kFixedLimit ||
            maxY >= kFixedLimit)
            return;
        const int n = speed >= kMaxSteps ? kMaxSteps : int(speed) + 1;
        if (minX >= m_left && minY >= m_top && maxX <= m_right - 1 && maxY <= m_bottom - 1)
            Sample<false>(s, n);
        else
            Sample<true>(s, n);
    }

    // Draws the chain of samples 0 to n - 1 of the segment, leaving out its end pixel, which
    // the next segment starts on. A pen that only copies its colour writes every pixel without
    // a branch, repeats and all; any other pen touches each pixel of the chain once, and its
    // pattern runs on by every pixel, visible or not. Clip says whether samples may fall
    // outside the clip.
    template <bool Clip> void Sample(const Segment& s, int n) {
        Axes axes;
        axes.Set(s.x, s.y, n);
        Sample<Clip>(axes.x, axes.y, n);
    }

    // A segment of whole-numbered points takes its start and end straight from the integers;
    // the result is the same as from their floating-point copies.
    template <bool Clip>
    void Sample(const std::int64_t* px, const std::int64_t* py, int n, bool endDrawn = false) {
        Axes axes;
        axes.Set(px, py, n);
        Sample<Clip>(axes.x, axes.y, n, endDrawn);
    }

    // endDrawn: another segment draws the end pixel, so it need not be left out.
    template <bool Clip> void Sample(const Axis& ax, const Axis& ay, int n, bool endDrawn = false) {
        if constexpr (kIdempotent && !Clip) {
            Chain(ax, ay, n, endDrawn);
            return;
        }
        Walk walk(ax, ay);
        // A pixel no sample reaches stands for the end pixel when it need not be left out.
        const std::int64_t endX = endDrawn ? INT64_MIN : ax.end >> 32;
        const std::int64_t endY = endDrawn ? INT64_MIN : ay.end >> 32;
        std::uint32_t* const bits = m_bits;
        const std::ptrdiff_t stride = m_stride;
        // Each step moves less than two pixels along either axis, so the point halfway between
        // two samples lies less than a pixel from either, and its pixel joins theirs into an
        // unbroken chain: the chain is the first sample, then for every further sample the
        // pixel halfway to it and the sample itself, and last the pixel halfway to the end.
        // Halfway points keep the half that rounds, as the samples do.
        std::int64_t qx = walk.x;
        std::int64_t qy = walk.y;
        const std::int64_t endHalfX = ax.end;
        const std::int64_t endHalfY = ay.end;
        const auto visit = [&](std::int64_t px, std::int64_t py) {
            if (px == endX && py == endY)
                return;
            if constexpr (!kIdempotent) {
                if (px == m_lastX && py == m_lastY)
                    return;
                m_lastX = px;
                m_lastY = py;
            }
            const bool visible =
                !Clip || (std::uint64_t(px - m_left) < std::uint64_t(m_right - m_left) &&
                          std::uint64_t(py - m_top) < std::uint64_t(m_bottom - m_top));
            if constexpr (Patterned) {
                if (visible && m_pattern.On(m_phase))
                    m_op(bits + std::ptrdiff_t(py) * stride + std::ptrdiff_t(px));
                if (++m_phase == m_pattern.period)
                    m_phase = 0;
            } else if (visible) {
                m_op(bits + std::ptrdiff_t(py) * stride + std::ptrdiff_t(px));
            }
        };
        visit(qx >> 32, qy >> 32);
        for (int i = n - 1; i > 0; --i) {
            walk.Step();
            visit((qx + walk.x) >> 33, (qy + walk.y) >> 33);
            visit(walk.x >> 32, walk.y >> 32);
            qx = walk.x;
            qy = walk.y;
        }
        visit((qx + endHalfX) >> 33, (qy + endHalfY) >> 33);
    }

    // Sample's chain for a copying pen, with every pixel inside the clip: it writes every pixel
    // without a branch, repeats and all. It is built into each loop over segments, which keeps
    // the segment's stepping in registers rather than passing it through memory every time.
    [[gnu::always_inline]] void Chain(const Axis& ax, const Axis& ay, int n, bool endDrawn) {
        Walk walk(ax, ay);
        std::uint32_t* const bits = m_bits;
        const std::ptrdiff_t stride = m_stride;
        // A copy of the pen, which no pixel written through a pointer can change, stays in a
        // register.
        const Op op = m_op;
        const auto at = [&](std::int64_t px, std::int64_t py) {
            return bits + (std::ptrdiff_t(py) * stride + std::ptrdiff_t(px));
        };
        const auto chain = [&] {
            std::int64_t qx = walk.x;
            std::int64_t qy = walk.y;
            op(at(qx >> 32, qy >> 32));
            for (int i = n - 1; i > 0; --i) {
                walk.Step();
                op(at((qx + walk.x) >> 33, (qy + walk.y) >> 33));
                op(at(walk.x >> 32, walk.y >> 32));
                qx = walk.x;
                qy = walk.y;
            }
            op(at((qx + ax.end) >> 33, (qy + ay.end) >> 33));
        };
        if (endDrawn) {
            chain();
            return;
        }
        // Rather than test every pixel against the end pixel, the end pixel is put back as it
        // was.
        std::uint32_t* const end = at(ax.end >> 32, ay.end >> 32);
        const std::uint32_t endBefore = *end;
        chain();
        *end = endBefore;
    }

    static void Split(const double* p, double* left, double* right) {
        const double p01 = (p[0] + p[1]) / 2;
        const double p12 = (p[1] + p[2]) / 2;
        const double p23 = (p[2] + p[3]) / 2;
        const double p012 = (p01 + p12) / 2;
        const double p123 = (p12 + p23) / 2;
        const double mid = (p012 + p123) / 2;
        left[0] = p[0];
        left[1] = p01;
        left[2] = p012;
        left[3] = mid;
        right[0] = mid;
        right[1] = p123;
        right[2] = p23;
        right[3] = p[3];
    }

    std::uint32_t* m_bits;
    // Where pixels are written: the clip, or for held segments the rows given.
    int m_left;
    int m_right;
    int m_top;
    int m_bottom;
    // Beyond these a segment has no pixel to draw and no state to carry on.
    int m_skipLeft;
    int m_skipTop;
    int m_skipRight;
    int m_skipBottom;
    std::ptrdiff_t m_stride;
    DeviceScale m_scale;
    // The pixel of the origin.
    std::int64_t m_ox;
    std::int64_t m_oy;
    Op m_op;
    PenPattern m_pattern;
    int m_phase;
    std::vector<HeldSegment>* m_held;
    // The points whose segments a copying pen draws without clipping.
    PointWindow m_within;
    // The last pixel a sampled segment touched, so that a chain never touches one twice in a row.
    std::int64_t m_lastX = INT64_MIN;
    std::int64_t m_lastY = INT64_MIN;
};

} // namespace
} // namespace raster
