#include "Commands.h"
#include "GeneratedCases.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>
#include <cstdio>

#ifndef LATCAP_PROPERTY_CASES
#define LATCAP_PROPERTY_CASES 200
#endif

namespace latcap {
namespace {

using testing::GeneratedCase;

class CountingSink final : public SolverSink {
public:
    void IterationProblem(SolverProblem) override { ++reports; }
    int reports = 0;
};

// One command run on a copy of the gathered state.
struct CommandRun {
    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    CalcOutcome outcome;
    bool converged() const { return !outcome.iterationProblem && !outcome.arithmeticProblem; }
};

CommandRun Calculate(const InputTexts& texts, int layers, bool calcL)
{
    CommandRun run;
    run.state->NoLayers = static_cast<std::int16_t>(layers);
    EXPECT_TRUE(GatherInputs(texts, *run.state)) << "generated cases are complete";
    CountingSink sink;
    run.outcome = calcL ? RunCalcL(*run.state, sink) : RunCalcM(*run.state, sink);
    EXPECT_EQ(run.outcome.iterationProblem, sink.reports > 0);
    return run;
}

const std::vector<GeneratedCase>& Cases()
{
    static const std::vector<GeneratedCase> cases = testing::GenerateCases(LATCAP_PROPERTY_CASES);
    return cases;
}

// The moment (user units) that Calc M finds for the case at a given depth.
double MomentAtDepth(const GeneratedCase& c, double depth, bool& converged)
{
    InputTexts texts = c.texts;
    texts.l = FormatMask(depth, "##0.0000");
    const CommandRun run = Calculate(texts, c.layers, false);
    converged = converged && run.converged();
    return double(run.state->CSF) * run.state->M;
}

void ExpectEquilibrium(const AnalysisState& s)
{
    const double horizontal = double(s.H) - (double(s.ForceAbove) - s.ForceBelow);
    const double moment = double(s.Zr) * s.H + s.M - s.SoilMoment;
    EXPECT_LE(std::fabs(horizontal), 0.1 + 1e-6 * std::fabs(s.H)) << "H " << s.H << ", soil " << s.ForceAbove
                                                                    << " above and " << s.ForceBelow << " below";
    EXPECT_LE(std::fabs(moment), 0.1 + 1e-6 * std::fabs(s.SoilMoment)) << "Zr " << s.Zr << ", M " << s.M
                                                                        << ", soil moment " << s.SoilMoment;
}

// Nothing holds the pile below its toe, so the shear and moment in the last
// slice are what the solvers' tolerances and that slice's own half leave:
// the moment at the toe is (L - Zr) times the horizontal residual plus the
// moment residual.
void ExpectForcesCloseAtToe(const AnalysisState& s, float depth)
{
    if (!(s.Zr < depth) || s.NoSlices < 1)
        return;
    const SliceType& last = s.Slice[static_cast<std::size_t>(s.NoSlices)];
    ASSERT_NEAR(last.Z + last.dZ / 2, depth, 1e-4 * depth) << "the last slice ends at the toe";
    // Single-precision sums over a few hundred slices.
    const double forces = std::fabs(s.H) + std::fabs(s.ForceAbove) + std::fabs(s.ForceBelow);
    const double moments = forces * depth + std::fabs(s.M) + std::fabs(s.SoilMoment);
    const double shearLeft = 0.1 + std::fabs(last.SoilForce) / 2 + 2e-5 * forces;
    EXPECT_LE(std::fabs(last.Shear), shearLeft) << "shear in the last slice";
    const double momentLeft =
        0.1 * (depth - s.Zr) + 0.1 + (shearLeft + std::fabs(last.SoilForce)) * last.dZ + 2e-5 * moments;
    EXPECT_LE(std::fabs(last.Moment), momentLeft) << "moment in the last slice";
    std::printf("R %g %g\n", std::fabs(last.Shear) / shearLeft, std::fabs(last.Moment) / momentLeft);
}

void ExpectFiniteShownResults(const AnalysisState& s)
{
    const ResultTexts shown = ShowResults(s);
    for (const std::string& caption : {shown.zr, shown.moment, shown.shear}) {
        EXPECT_EQ(caption.find("Infinity"), std::string::npos) << caption;
        EXPECT_EQ(caption.find("NaN"), std::string::npos) << caption;
    }
    EXPECT_TRUE(std::isfinite(double(s.CSF) * s.MaxMoment));
    EXPECT_TRUE(std::isfinite(double(s.MaxShear) * s.CSF));
}

TEST(GeneratedPiles, CalcLEndsInEquilibriumWithFiniteResults)
{
    int converged = 0;
    for (const GeneratedCase& c : Cases()) {
        SCOPED_TRACE("case " + std::to_string(c.number) + ": " + c.description);
        const CommandRun run = Calculate(c.texts, c.layers, true);
        EXPECT_FALSE(run.outcome.arithmeticProblem);
        if (!run.converged())
            continue;
        ++converged;
        ExpectEquilibrium(*run.state);
        ExpectForcesCloseAtToe(*run.state, run.state->LCalc);
        ExpectFiniteShownResults(*run.state);
        EXPECT_GT(run.state->LCalc, 0.0f);
        EXPECT_LT(run.state->LCalc, 50.0f);
    }
    EXPECT_GE(converged, static_cast<int>(Cases().size()) / 2) << "most realistic piles are found";
}

TEST(GeneratedPiles, CalcMEndsInEquilibriumWithFiniteResults)
{
    for (const GeneratedCase& c : Cases()) {
        SCOPED_TRACE("case " + std::to_string(c.number) + ": " + c.description);
        const CommandRun run = Calculate(c.texts, c.layers, false);
        EXPECT_FALSE(run.outcome.arithmeticProblem);
        if (!run.converged())
            continue;
        ExpectEquilibrium(*run.state);
        ExpectForcesCloseAtToe(*run.state, run.state->L);
        ExpectFiniteShownResults(*run.state);
    }
}

// Calc M on the depth box that Calc L filled gives back the moment typed,
// within the solver's tolerance and what rounding the depth to three
// decimals changes.
TEST(GeneratedPiles, CalcMOnTheDepthFoundGivesBackTheMoment)
{
    int compared = 0;
    for (const GeneratedCase& c : Cases()) {
        SCOPED_TRACE("case " + std::to_string(c.number) + ": " + c.description);
        const CommandRun depthRun = Calculate(c.texts, c.layers, true);
        if (!depthRun.converged())
            continue;
        InputTexts texts = c.texts;
        texts.l = depthRun.outcome.answer;
        const CommandRun momentRun = Calculate(texts, c.layers, false);
        const double depth = ReadNumber(texts.l);
        bool converged = momentRun.converged();
        const double below = MomentAtDepth(c, depth - 0.0005, converged);
        const double above = MomentAtDepth(c, depth + 0.0005, converged);
        if (!converged)
            continue;
        ++compared;
        const double found = double(momentRun.state->CSF) * momentRun.state->M;
        const double rounding = std::max(std::fabs(below - found), std::fabs(above - found));
        const double tolerance = rounding + 0.1 * momentRun.state->CSF + 1e-5 * std::fabs(found);
        EXPECT_NEAR(found, ReadNumber(c.texts.m), tolerance)
            << "depth " << texts.l << ", moments at depth -/+ 0.0005: " << below << ", " << above;
    }
    EXPECT_GT(compared, 0);
}

// Over a few lateral loads on the same soil and moment, the depth found
// never shrinks as the load grows.
TEST(GeneratedPiles, LargerLateralLoadNeverNeedsShorterPile)
{
    constexpr std::array<double, 4> kLoads{0.0, 60.0, 180.0, 420.0};
    int compared = 0;
    for (const GeneratedCase& c : Cases()) {
        if (c.number % 4 != 0)
            continue; // a quarter of the cases keeps the run short
        SCOPED_TRACE("case " + std::to_string(c.number) + ": " + c.description);
        InputTexts texts = c.texts;
        if (ReadNumber(texts.m) == 0.0)
            texts.m = "50";
        double lastDepth = 0.0;
        std::string lastLoad;
        for (double load : kLoads) {
            texts.h = FormatMask(load, "##0");
            const CommandRun run = Calculate(texts, c.layers, true);
            if (!run.converged())
                break;
            const double depth = run.state->LCalc;
            EXPECT_GE(depth, lastDepth) << "H " << texts.h << " against H " << lastLoad;
            lastDepth = depth;
            lastLoad = texts.h;
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
}

} // namespace
} // namespace latcap
