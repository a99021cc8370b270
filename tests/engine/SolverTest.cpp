#include "Commands.h"
#include "PileForces.h"
#include "SoilForces.h"
#include "Solvers.h"
#include "TestCases.h"

#include <gtest/gtest.h>

#include <cmath>

namespace latcap {
namespace {

using testing::RecordingSink;
using testing::ReferenceSand;

AnalysisState Gathered(const InputTexts& texts, int layers = 1)
{
    AnalysisState state;
    state.NoLayers = static_cast<std::int16_t>(layers);
    EXPECT_TRUE(GatherInputs(texts, state));
    return state;
}

// True when value is the k-th midpoint of a bisection of [lo, lo + width],
// that is lo + n * width / 2^k with n odd.
bool IsBisectionStep(double value, double lo, double width, int k)
{
    const double n = (value - lo) * std::ldexp(1.0, k) / width;
    return n == std::floor(n) && std::fmod(n, 2.0) == 1.0;
}

TEST(SoilForces, OneLayerCutAtTheRotationPoint)
{
    AnalysisState state = Gathered(ReferenceSand("50", "20", ""));
    CalcSoilForces(state, 3.0f, 5.0f);
    ASSERT_EQ(state.NoSlices, 100);
    EXPECT_FLOAT_EQ(state.Slice[1].dZ, 0.06f);
    EXPECT_FLOAT_EQ(state.Slice[1].Z, 0.03f);
    EXPECT_FLOAT_EQ(state.Slice[50].Z, 2.97f);
    EXPECT_FLOAT_EQ(state.Slice[51].dZ, 0.04f);
    EXPECT_FLOAT_EQ(state.Slice[51].Z, 3.02f);
    EXPECT_FLOAT_EQ(state.Slice[100].Z, 4.98f);
}

TEST(SoilForces, LayerBoundaryAtRotationBuildsNoEmptyRange)
{
    AnalysisState state;
    state.NoLayers = 3;
    state.Layer[1] = {0, 2, 0, 18, DegreesToRadians(30), 0.5f};
    state.Layer[2] = {2, 4, 0, 19, DegreesToRadians(30), 0.5f};
    state.Layer[3] = {4, 100, 0, 20, DegreesToRadians(30), 0.5f};
    CalcSoilForces(state, 2.0f, 3.0f);
    ASSERT_EQ(state.NoSlices, 100) << "layer 1 whole above, layer 2 down to the toe, layer 3 below the toe";
    EXPECT_FLOAT_EQ(state.Slice[50].Z, 1.98f);
    EXPECT_FLOAT_EQ(state.Slice[51].Z, 2.01f);
    // The first slice of layer 2 carries all of layer 1 and half a slice of its own.
    EXPECT_FLOAT_EQ(state.Slice[51].WeightAbove, 2 * 18 + 0.01f * 19);
}

TEST(SoilForces, FiveLayersWithRotationInsideOneGive300Slices)
{
    AnalysisState state;
    state.NoLayers = 5;
    for (int i = 1; i <= 5; ++i)
        state.Layer[i] = {float(i - 1), i == 5 ? 100.0f : float(i), 10, 18, DegreesToRadians(25), 0.6f};
    CalcSoilForces(state, 2.5f, 50.0f);
    EXPECT_EQ(state.NoSlices, 300);
    float lastZ = 0;
    for (int i = 1; i <= state.NoSlices; ++i) {
        EXPECT_GT(state.Slice[i].Z, lastZ) << "slices follow one another downwards";
        lastZ = state.Slice[i].Z;
    }
}

TEST(SoilForces, ZeroFrictionClayKeepsKqAtZeroInEverySlice)
{
    InputTexts texts = ReferenceSand("30", "10", "");
    texts.layers[0] = {"0", "100", "17", "40", "0", "0.6"};
    AnalysisState state = Gathered(texts);
    RecordingSink sink;
    RunCalcL(state, sink);
    ASSERT_GT(state.NoSlices, 0);
    for (int i = 1; i <= state.NoSlices; ++i) {
        EXPECT_EQ(state.Slice[i].Kq, 0.0f) << "slice " << i;
        EXPECT_GT(state.Slice[i].Kc, 2.5f);
    }
    EXPECT_EQ(state.Layer[1].Phi, 0.0f);
}

TEST(Solvers, ReferenceCalcLSliceTable)
{
    AnalysisState state = Gathered(ReferenceSand("50", "20", ""));
    RecordingSink sink;
    FindDepth(state, state.LCalc, sink);
    EXPECT_TRUE(sink.problems.empty());
    EXPECT_TRUE(IsBisectionStep(state.LCalc, 0, 50, 12)) << "ends on its 12th trial depth";
    EXPECT_NEAR(state.LCalc, 2.478, 0.0005);
    EXPECT_NEAR(state.Zr, 1.979, 0.0005);
    ASSERT_EQ(state.NoSlices, 100);
    const SliceType& first = state.Slice[1];
    EXPECT_NEAR(first.dZ, 0.03958, 0.000005);
    EXPECT_NEAR(first.Z, 0.01979, 0.000005);
    EXPECT_NEAR(first.WeightAbove, 0.3562, 0.00005);
    EXPECT_NEAR(first.Kq, 4.798, 0.0005);
    EXPECT_NEAR(first.Kc, 7.369, 0.0005);
    EXPECT_NEAR(first.SoilPressure, 1.709, 0.0005);
    EXPECT_NEAR(first.SoilForce, 0.04059, 0.000005);
    EXPECT_NEAR(state.Slice[51].dZ, 0.00998, 0.000005);
    EXPECT_NEAR(state.Slice[51].Z, 1.984, 0.0005);
    EXPECT_NEAR(state.Slice[100].Z, 2.473, 0.0005);
    EXPECT_NEAR(state.Slice[100].Kq, 8.689, 0.0005);
    EXPECT_NEAR(state.Slice[100].SoilPressure, 386.8, 0.05);
    EXPECT_NEAR(state.ForceAbove, 151.21, 0.005);
    EXPECT_NEAR(state.ForceBelow, 101.12, 0.005);
    EXPECT_NEAR(state.SoilMoment, 118.97, 0.005);

    CalcPileForces(state);
    EXPECT_NEAR(state.Slice[1].Moment, 20.989, 0.0005);
    EXPECT_NEAR(state.Slice[1].Shear, 49.980, 0.0005);
    EXPECT_EQ(state.MaxMoment, state.Slice[31].Moment);
    EXPECT_NEAR(state.Slice[31].Z, 1.207, 0.0005);
    EXPECT_NEAR(state.MaxMoment, 61.417, 0.0005);
    EXPECT_EQ(state.MaxShear, state.Slice[51].Shear);
    EXPECT_NEAR(state.MaxShear, -100.343, 0.0005);
    EXPECT_NEAR(state.Slice[100].Moment, -0.066, 0.0005);
    EXPECT_NEAR(state.Slice[100].Shear, -1.251, 0.0005);
}

struct SolverCase {
    const char* name;
    const char* h;
    const char* m;
    const char* l;
    const char* csf;
    double expectedAnswer; // LCalc for Calc L, M (times CSF) for Calc M
    double expectedZr;
};

class ReferenceSolutions : public ::testing::TestWithParam<SolverCase> {};

TEST_P(ReferenceSolutions, SolveToThePublishedDigits)
{
    const SolverCase& c = GetParam();
    AnalysisState state;
    state.NoLayers = 1;
    GatherInputs(ReferenceSand(c.h, c.m, c.l, c.csf), state);
    RecordingSink sink;
    if (*c.l == '\0') {
        FindDepth(state, state.LCalc, sink);
        EXPECT_NEAR(state.LCalc, c.expectedAnswer, 0.0005);
    } else {
        FindZr(state, state.L, state.Zr, sink);
        EXPECT_NEAR(state.SoilMoment - state.Zr * state.H, c.expectedAnswer, 0.005);
    }
    EXPECT_NEAR(state.Zr, c.expectedZr, 0.0005);
    EXPECT_TRUE(sink.problems.empty());
}

INSTANTIATE_TEST_SUITE_P(
    OneSandLayer, ReferenceSolutions,
    ::testing::Values(SolverCase{"depth_for_50kN_20kNm", "50", "20", "", "1", 2.478, 1.979},
                      SolverCase{"depth_for_50kN_no_moment", "50", "0", "", "1", 2.284, 1.850},
                      SolverCase{"moment_of_3m_under_50kN", "50", "", "3", "1", 101.32, 2.336},
                      SolverCase{"moment_of_3m_without_load", "0", "", "3", "1", 215.14, 2.216},
                      SolverCase{"moment_of_3m_under_400kN", "400", "", "3", "1", -841.72, 3.015},
                      SolverCase{"depth_with_strength_factor_half", "50", "20", "", "0.5", 3.302, 2.648}),
    testing::CaseName());

TEST(Solvers, LoadBeyondTheSoilConvergesBelowTheToe)
{
    AnalysisState state = Gathered(ReferenceSand("400", "", "3"));
    RecordingSink sink;
    FindZr(state, state.L, state.Zr, sink);
    EXPECT_TRUE(sink.problems.empty());
    EXPECT_TRUE(IsBisectionStep(state.Zr, 3, 3, 13)) << "converges on its 15th trial, after 3 m and 6 m";
    EXPECT_GT(state.Zr, 3.0f);
    EXPECT_NEAR(state.ForceBelow, -4.51, 0.005);
}

TEST(Solvers, ZeroDepthGivesUpWithTheLastEvaluatedRotationPoint)
{
    AnalysisState state = Gathered(ReferenceSand("50", "20", ""));
    RecordingSink sink;
    const float depth = 0.0f;
    FindZr(state, depth, state.Zr, sink);
    ASSERT_EQ(sink.problems.size(), 1u);
    EXPECT_EQ(sink.problems[0], SolverProblem::Moment);
    EXPECT_EQ(state.Zr, 0.0f);
    EXPECT_EQ(state.NoSlices, 0);
}

TEST(Solvers, FailedRotationSearchLeavesZrMatchingTheSliceTable)
{
    // Far too much load for a short pile: every trial doubles zr.
    AnalysisState state = Gathered(ReferenceSand("1e6", "", "1"));
    RecordingSink sink;
    FindZr(state, state.L, state.Zr, sink);
    ASSERT_EQ(sink.problems.size(), 1u);
    const AnalysisState after = state;
    CalcSoilForces(state, state.Zr, state.L);
    EXPECT_EQ(state.ForceAbove, after.ForceAbove);
    EXPECT_EQ(state.ForceBelow, after.ForceBelow);
    EXPECT_EQ(state.SoilMoment, after.SoilMoment);
}

TEST(Solvers, ResidualOfExactlyPointOneCountsAsConverged)
{
    // With no soil the residual is H itself.
    AnalysisState state;
    state.NoLayers = 0;
    state.H = 0.1f;
    RecordingSink sink;
    const float depth = 2.0f;
    FindZr(state, depth, state.Zr, sink);
    EXPECT_TRUE(sink.problems.empty());
    state.H = std::nextafter(0.1f, 1.0f);
    FindZr(state, depth, state.Zr, sink);
    EXPECT_EQ(sink.problems.size(), 1u);
}

TEST(Commands, DepthBeyondFiftyMetresStopsAtFiftyWithOneMessageOfEachKind)
{
    InputTexts texts = ReferenceSand("5000", "50000", "");
    texts.layers[0] = {"0", "100", "10", "0", "10", "0.3"};
    AnalysisState state = Gathered(texts);
    RecordingSink sink;
    const CalcOutcome outcome = RunCalcL(state, sink);
    EXPECT_EQ(outcome.answer, "50.000");
    EXPECT_TRUE(outcome.iterationProblem);
    int depthMessages = 0;
    int momentMessages = 0;
    for (SolverProblem p : sink.problems)
        (p == SolverProblem::Depth ? depthMessages : momentMessages)++;
    EXPECT_EQ(depthMessages, 1);
    EXPECT_LE(momentMessages, 1);
}

struct CommandCase {
    const char* name;
    bool calcL;
    InputTexts texts;
    const char* answer;
    const char* zr;
    const char* moment;
    const char* shear;
};

class CommandTexts : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTexts, ShowExactlyTheseTexts)
{
    const CommandCase& c = GetParam();
    AnalysisState state = Gathered(c.texts);
    RecordingSink sink;
    const CalcOutcome outcome = c.calcL ? RunCalcL(state, sink) : RunCalcM(state, sink);
    EXPECT_FALSE(outcome.iterationProblem);
    EXPECT_FALSE(outcome.arithmeticProblem);
    EXPECT_EQ(outcome.answer, c.answer);
    const ResultTexts shown = ShowResults(state);
    EXPECT_EQ(shown.zr, c.zr);
    EXPECT_EQ(shown.moment, c.moment);
    EXPECT_EQ(shown.shear, c.shear);
}

INSTANTIATE_TEST_SUITE_P(
    Reference, CommandTexts,
    ::testing::Values(
        CommandCase{"calc_l", true, ReferenceSand("50", "20", ""), "2.478", "Zr = 1.979 m", "Moment = 61.42 kNm",
                    "Shear = 100.34 kN"},
        CommandCase{"calc_m", false, ReferenceSand("50", "", "3"), "101.32", "Zr = 2.336 m",
                    "Moment = 142.72 kNm", "Shear = 169.01 kN"},
        CommandCase{"calc_l_csf_half", true, ReferenceSand("50", "20", "", "0.5"), "3.302", "Zr = 2.648 m",
                    "Moment = 76.75 kNm", "Shear = 96.03 kN"},
        CommandCase{"calc_m_load_beyond_soil", false, ReferenceSand("400", "", "3"), "-841.72", "Zr = 3.015 m",
                    "Moment = 829.66 kNm", "Shear = 399.95 kN"}),
    testing::CaseName());

TEST(Commands, CalcMReplacesTheMomentAndUsesItAsHeadMoment)
{
    AnalysisState state = Gathered(ReferenceSand("50", "", "3", "0.5"));
    RecordingSink sink;
    RunCalcM(state, sink);
    EXPECT_FLOAT_EQ(state.M, state.SoilMoment - state.Zr * state.H);
    const float firstMoment = state.Slice[1].Moment;
    CalcPileForces(state);
    EXPECT_EQ(state.Slice[1].Moment, firstMoment);
}

TEST(PileForces, NoSlicesLeavesZeroMaxima)
{
    AnalysisState state;
    state.MaxMoment = 5;
    state.MaxShear = -5;
    state.H = 10;
    CalcPileForces(state);
    EXPECT_EQ(state.MaxMoment, 0.0f);
    EXPECT_EQ(state.MaxShear, 0.0f);
}

TEST(PileForces, SliceAtTheRotationPointCountsWithTheSlicesAbove)
{
    AnalysisState state;
    state.NoSlices = 2;
    state.H = 10;
    state.Zr = 1.0f;
    state.Slice[1] = {0, 0, 0, 0, 1.0f, 1.0f, 4.0f, 0, 0};
    state.Slice[2] = {0, 0, 0, 0, 1.0f, 2.0f, 4.0f, 0, 0};
    CalcPileForces(state);
    EXPECT_FLOAT_EQ(state.Slice[1].Shear, 10 - 2);
    EXPECT_FLOAT_EQ(state.Slice[2].Shear, 10 - 4 + 2);
    EXPECT_FLOAT_EQ(state.Slice[2].Moment, 10 * 2 - 1 * 4 + 2 * 0.25f);
    EXPECT_FLOAT_EQ(state.MaxShear, 8) << "the first of equal magnitudes wins";
}

} // namespace
} // namespace latcap
