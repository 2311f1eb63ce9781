#include "curve/CCurve.h"

#include <benchmark/benchmark.h>

#include <random>

// Throughput of the spline conversion, in control points per second, for curves drawn as
// random walks of steps up to 20 pixels.
static void BM_ToBezier(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    CCurve curve;
    curve.m_bClosed = state.range(1) != 0;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-20, 20);
    CPoint pt(960, 540);
    for (std::size_t i = 0; i < n; ++i) {
        pt = pt + CPoint(step(rng), step(rng));
        curve.m_points.push_back(pt);
    }
    for (auto _ : state) {
        std::vector<CPoint> r = curve.ToBezier();
        benchmark::DoNotOptimize(r.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(n));
}
BENCHMARK(BM_ToBezier)
    ->ArgsProduct({{4, 16, 1000, 1000000}, {0, 1}})
    ->ArgNames({"points", "closed"});

BENCHMARK_MAIN();
