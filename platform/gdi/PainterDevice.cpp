#include "platform/gdi/PainterDevice.h"

#include "platform/gdi/PenPattern.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>

namespace {

QColor ToColor(COLORREF c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Painters take int rectangles; nothing a page shows lies this far out.
constexpr std::int64_t kFar = std::int64_t(1) << 28;

} // namespace

bool PainterDevice::Prepare(const PenAttributes& pen, int rop, int phase) {
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    QColor color = ToColor(pen.color);
    switch (rop) {
    case R2_NOP:
        return false;
    case R2_NOT:
        mode = QPainter::RasterOp_NotDestination;
        break;
    case R2_XORPEN:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case R2_NOTCOPYPEN:
        mode = QPainter::RasterOp_NotSource;
        break;
    case R2_BLACK:
        color = Qt::black;
        break;
    case R2_WHITE:
        color = Qt::white;
        break;
    default:
        break;
    }
    if (!m_painter->isActive())
        return false;
    if (mode != QPainter::CompositionMode_SourceOver &&
        !m_painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        mode = QPainter::CompositionMode_SourceOver;

    // Widths of 0 and 1 are one device pixel whatever the painter's scale.
    QPen qpen(color, pen.width <= 1 ? 0 : pen.width);
    qpen.setCosmetic(pen.width <= 1);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    const PenPattern pattern = PenPattern::ForStyle(pen.style);
    if (!pattern.IsSolid()) {
        int runs[32];
        const int n = pattern.Runs(runs);
        QList<qreal> dashes;
        for (int i = 0; i < n; ++i)
            dashes.append(runs[i]);
        // A pattern that starts with a gap is given as a shifted one that starts with a dash.
        if (n % 2 != 0)
            dashes.append(0);
        qpen.setDashPattern(dashes);
        qpen.setDashOffset(phase);
    }
    m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setCompositionMode(mode);
    m_painter->setPen(qpen);
    m_painter->setBrush(Qt::NoBrush);
    return true;
}

void PainterDevice::Line(CPoint from, CPoint to, const PenAttributes& pen, int rop, int& phase) {
    const std::int64_t length =
        std::max(std::llabs(std::int64_t(to.x) - from.x), std::llabs(std::int64_t(to.y) - from.y));
    const PenPattern pattern = PenPattern::ForStyle(pen.style);
    const int start = phase;
    phase = int((phase + length) % pattern.period);
    if (length == 0 || !Prepare(pen, rop, start))
        return;
    m_painter->drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
    m_painter->restore();
}

void PainterDevice::PolyBezier(const CPoint* points, int count, const PenAttributes& pen, int rop) {
    if (points == nullptr || count < 4 || !Prepare(pen, rop, 0))
        return;
    QPainterPath path(QPointF(points[0].x, points[0].y));
    for (int i = 1; i + 2 < count; i += 3)
        path.cubicTo(QPointF(points[i].x, points[i].y), QPointF(points[i + 1].x, points[i + 1].y),
                     QPointF(points[i + 2].x, points[i + 2].y));
    m_painter->drawPath(path);
    m_painter->restore();
}

void PainterDevice::FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                             std::int64_t bottom, COLORREF color) {
    left = std::clamp(left, -kFar, kFar);
    top = std::clamp(top, -kFar, kFar);
    right = std::clamp(right, -kFar, kFar);
    bottom = std::clamp(bottom, -kFar, kFar);
    if (left >= right || top >= bottom || !m_painter->isActive())
        return;
    m_painter->save();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(QRect(int(left), int(top), int(right - left), int(bottom - top)),
                        ToColor(color));
    m_painter->restore();
}
