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

void CalcL(benchmark::State& run, InputTexts (*inputs)(), int layers)
{
    const AnalysisState start = Gathered(inputs(), layers);
    auto state = std::make_unique<AnalysisState>();
    QuietSink sink;
    for (auto _ : run) {
        *state = start;
        benchmark::DoNotOptimize(RunCalcL(*state, sink));
    }
}
BENCHMARK_CAPTURE(CalcL, Typical, TypicalThreeLayers, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CalcL, WorstCase, WorstCaseFiveLayers, 5)->Unit(benchmark::kMillisecond);

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
