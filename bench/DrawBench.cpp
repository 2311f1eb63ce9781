#include "BenchDocuments.h"
#include "curve/CCurve.h"
#include "platform/gdi/CDC.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <vector>

// Repainting a whole 1920 by 1080 window: every click and every step of a point drag does it.
// Our rasteriser draws through CDC and CCurve::Draw, conversion included; QPainter draws the
// same Bezier point lists, already converted, with a cosmetic one-pixel pen.

namespace {

using bench::kHeight;
using bench::kWidth;

enum Kind { kWalk = 0, kSpread = 1 };

// Curves of 16 points, every other one closed.
std::vector<CCurve> MakeDocument(int curves, Kind kind) {
    std::vector<CCurve> document = bench::MakeCurves(curves, 16, kind == kSpread);
    for (std::size_t i = 1; i < document.size(); i += 2)
        document[i].m_bClosed = true;
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
        bench::PaintWithQPainter(image, lists);
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
