#include "Commands.h"
#include "InputData.h"
#include "PileForces.h"
#include "SoilForces.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace latcap::bench {
namespace {

    // Stiff clay over sand over gravelly sand, a 0.9 m pile under 120 kN and
    // 200 kNm: a pile found at a few metres.
    InputTexts TypicalThreeLayers()
    {
        InputTexts texts;
        texts.csf = "1";
        texts.h = "120";
        texts.m = "200";
        texts.layers[0] = { "0", "1.5", "18", "45", "0", "0.9" };
        texts.layers[1] = { "1.5", "6", "19", "0", "32", "0.9" };
        texts.layers[2] = { "6", "100", "20", "0", "38", "0.9" };
        return texts;
    }

    // Five soft layers under a load no pile of 50 m can carry: every one of the
    // 101 trial depths runs the rotation search to its limit of 101 trials.
    InputTexts WorstCaseFiveLayers()
    {
        InputTexts texts;
        texts.csf = "1";
        texts.h = "10000000";
        texts.m = "1000000";
        const char* bottoms[] = { "2", "5", "9", "14", "100" };
        const char* tops[] = { "0", "2", "5", "9", "14" };
        for (int i = 0; i < 5; ++i)
            texts.layers[static_cast<std::size_t>(i)] = { tops[i], bottoms[i], "17", "10", "20", "0.5" };
        return texts;
    }

    AnalysisState Gathered(const InputTexts& texts, int layers)
    {
        AnalysisState state;
        state.NoLayers = static_cast<std::int16_t>(layers);
        GatherInputs(texts, state, Command::CalcL);
        return state;
    }

    class QuietSink final : public SolverSink {
    public:
        void IterationProblem(SolverProblem) override { }
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
        CalcSoilForces(state, CurvesOfLayers(state), zr, depth);
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
