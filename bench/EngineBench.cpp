#include "Cases.h"
#include "Commands.h"
#include "PileForces.h"
#include "SoilForces.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace latcap::bench {
namespace {

class QuietSink final : public SolverSink {
public:
    void IterationProblem(SolverProblem) override {}
};

void CalcLTypical(benchmark::State& run)
{
    const AnalysisState start = Gathered(TypicalThreeLayers(), 3);
    auto state = std::make_unique<AnalysisState>();
    QuietSink sink;
    for (auto _ : run) {
        *state = start;
        benchmark::DoNotOptimize(RunCalcL(*state, sink));
    }
}
BENCHMARK(CalcLTypical)->Unit(benchmark::kMillisecond);

void CalcLWorstCase(benchmark::State& run)
{
    const AnalysisState start = Gathered(WorstCaseFiveLayers(), 5);
    auto state = std::make_unique<AnalysisState>();
    QuietSink sink;
    for (auto _ : run) {
        *state = start;
        benchmark::DoNotOptimize(RunCalcL(*state, sink));
    }
}
BENCHMARK(CalcLWorstCase)->Unit(benchmark::kMillisecond);

void PileForces300Slices(benchmark::State& run)
{
    AnalysisState state = Gathered(WorstCaseFiveLayers(), 5);
    const float zr = 7.0f;
    const float depth = 60.0f;
    CalcSoilForces(state, zr, depth);
    state.Zr = zr;
    for (auto _ : run) {
        CalcPileForces(state);
        benchmark::DoNotOptimize(state.MaxMoment);
    }
    run.counters["slices"] = state.NoSlices;
}
BENCHMARK(PileForces300Slices)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace latcap::bench

BENCHMARK_MAIN();
