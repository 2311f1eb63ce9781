#include "platform/framework/CUndoStack.h"

#include <benchmark/benchmark.h>

#include <memory>

// Recording one edit in the history of a long editing session. Both sizes are measured at the
// history's budget, so that every step recorded also drops the oldest one: the time of a step
// must not grow with the length of the history.

namespace {

// A step that does nothing and costs what it is told: only the history's own work is measured.
class SizedStep : public CUndoStep {
public:
    explicit SizedStep(std::size_t cost) : m_nCost(cost) {}
    void Undo() override {}
    void Redo() override {}
    std::size_t Cost() const override { return m_nCost; }

private:
    std::size_t m_nCost;
};

void Record(CUndoStack& history, std::size_t cost) {
    history.Reserve();
    history.Push(std::make_unique<SizedStep>(cost));
}

void BM_HistoryStep(benchmark::State& state) {
    const auto steps = static_cast<std::size_t>(state.range(0));
    // Steps as large as they are when that many fill the budget of a document's history.
    const std::size_t cost = CUndoStack::kDefaultBudget / steps;
    CUndoStack history(cost * steps);
    for (std::size_t i = 0; i < steps; ++i)
        Record(history, cost);
    for (auto _ : state)
        Record(history, cost);
    if (history.StepCount() != steps)
        state.SkipWithError("the history did not stay at its budget");
}

} // namespace

BENCHMARK(BM_HistoryStep)->ArgName("steps")->Arg(1000)->Arg(1000000);

BENCHMARK_MAIN();
