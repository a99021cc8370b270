// Prints every number that a set of calculations leaves in the state, as
// bits, so that two builds of the engine can be compared for identical
// results.
#include "Cases.h"
#include "Commands.h"

#include <bit>
#include <cstdio>
#include <memory>

namespace {

using namespace latcap;

class CountingSink final : public SolverSink {
public:
    void IterationProblem(SolverProblem problem) override { std::printf("problem %d\n", int(problem)); }
};

void Print(const char* name, const AnalysisState& s)
{
    auto bits = [](float v) { return std::bit_cast<std::uint32_t>(v); };
    std::printf("%s LCalc %08x Zr %08x M %08x sums %08x %08x %08x max %08x %08x slices %d\n", name, bits(s.LCalc),
                bits(s.Zr), bits(s.M), bits(s.ForceAbove), bits(s.ForceBelow), bits(s.SoilMoment), bits(s.MaxMoment),
                bits(s.MaxShear), s.NoSlices);
    for (int i = 1; i <= s.NoSlices; ++i) {
        const SliceType& c = s.Slice[static_cast<std::size_t>(i)];
        std::printf("%08x %08x %08x %08x %08x %08x %08x %08x %08x\n", bits(c.Kq), bits(c.Kc), bits(c.SoilPressure),
                    bits(c.WeightAbove), bits(c.dZ), bits(c.Z), bits(c.SoilForce), bits(c.Moment), bits(c.Shear));
    }
}

void Run(const char* name, InputTexts texts, int layers, bool calcL)
{
    auto state = std::make_unique<AnalysisState>(bench::Gathered(texts, layers));
    CountingSink sink;
    if (calcL)
        RunCalcL(*state, sink);
    else
        RunCalcM(*state, sink);
    Print(name, *state);
}

} // namespace

int main()
{
    Run("typical-l", bench::TypicalThreeLayers(), 3, true);
    InputTexts depth = bench::TypicalThreeLayers();
    depth.l = "4";
    Run("typical-m", depth, 3, false);
    Run("worst-l", bench::WorstCaseFiveLayers(), 5, true);
    InputTexts clay = bench::TypicalThreeLayers();
    clay.layers[1].phi = "0";
    clay.layers[1].c = "25";
    Run("clay-l", clay, 3, true);
    return 0;
}
