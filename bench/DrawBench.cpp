#include "curve/CCurve.h"
#include "platform/gdi/CDC.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

// Repainting a whole 1920 by 1080 window: every click and every step of a point drag does it.
// Our rasteriser draws through CDC and CCurve::Draw, conversion included; QPainter draws the
// same Bezier point lists, already converted, with a cosmetic one-pixel pen.

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

enum Kind { kWalk = 0, kSpread = 1 };

// Curves of 16 points: random walks of steps up to 20 pixels from a random start, like a hand
// clicking along, or points spread uniformly over the window. Every other curve is closed.
std::vector<CCurve> MakeDocument(int curves, Kind kind) {
    std::mt19937 rng(2026);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    std::uniform_int_distribution<int> step(-20, 20);
    std::vector<CCurve> document(static_cast<std::size_t>(curves));
    for (int i = 0; i < curves; ++i) {
        CCurve& c = document[static_cast<std::size_t>(i)];
        c.m_bClosed = i % 2 != 0;
        CPoint pt(x(rng), y(rng));
        for (int j = 0; j < 16; ++j) {
            c.m_points.push_back(pt);
            pt = kind == kWalk ? pt + CPoint(step(rng), step(rng)) : CPoint(x(rng), y(rng));
        }
    }
    return document;
}

QImage Surface() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void SetLabels(benchmark::State& state, int curves) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * curves);
}

void BM_Raster(benchmark::State& state) {
    const int curves = static_cast<int>(state.range(0));
    const std::vector<CCurve> document = MakeDocument(curves, Kind(state.range(1)));
    QImage image = Surface();
    for (auto _ : state) {
        CDC dc;
        dc.AttachImage(&image);
        for (const CCurve& c : document)
            c.Draw(&dc);
        benchmark::ClobberMemory();
    }
    SetLabels(state, curves);
}

// The rasteriser alone, on the converted point lists that QPainter gets.
void BM_RasterPolyBezier(benchmark::State& state) {
    const int curves = static_cast<int>(state.range(0));
    std::vector<std::vector<CPoint>> lists;
    for (const CCurve& c : MakeDocument(curves, Kind(state.range(1))))
        lists.push_back(c.ToBezier());
    QImage image = Surface();
    for (auto _ : state) {
        CDC dc;
        dc.AttachImage(&image);
        for (const auto& l : lists)
            dc.PolyBezier(l.data(), int(l.size()));
        benchmark::ClobberMemory();
    }
    SetLabels(state, curves);
}

void BM_QPainter(benchmark::State& state) {
    const int curves = static_cast<int>(state.range(0));
    std::vector<std::vector<CPoint>> lists;
    for (const CCurve& c : MakeDocument(curves, Kind(state.range(1))))
        lists.push_back(c.ToBezier());
    QImage image = Surface();
    for (auto _ : state) {
        QPainter painter(&image);
        QPen pen(Qt::black, 0);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (const auto& l : lists) {
            QPainterPath path(QPointF(l[0].x, l[0].y));
            for (std::size_t i = 1; i + 2 < l.size(); i += 3)
                path.cubicTo(QPointF(l[i].x, l[i].y), QPointF(l[i + 1].x, l[i + 1].y),
                             QPointF(l[i + 2].x, l[i + 2].y));
            painter.drawPath(path);
        }
        painter.end();
        benchmark::ClobberMemory();
    }
    SetLabels(state, curves);
}

void Documents(benchmark::internal::Benchmark* b) {
    b->ArgNames({"curves", "spread"});
    b->Args({1000, kWalk});
    b->Args({10000, kWalk});
    b->Args({1000, kSpread});
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Raster)->Apply(Documents);
BENCHMARK(BM_RasterPolyBezier)->Apply(Documents);
BENCHMARK(BM_QPainter)->Apply(Documents);

BENCHMARK_MAIN();
