#include "Commands.h"
#include "NumberText.h"
#include "TestCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace latcap {
namespace {

using testing::RecordingSink;
using testing::ReferenceSand;

// Whatever the boxes hold, a command ends in exactly one of: "Not Enough
// Data", an arithmetic problem, or results that are all finite numbers.
void ExpectCleanOutcome(const InputTexts& texts, int layers)
{
    for (bool calcL : {true, false}) {
        auto state = std::make_unique<AnalysisState>();
        state->NoLayers = static_cast<std::int16_t>(layers);
        if (!GatherInputs(texts, *state))
            continue;
        RecordingSink sink;
        const CalcOutcome outcome = calcL ? RunCalcL(*state, sink) : RunCalcM(*state, sink);
        EXPECT_LE(state->NoSlices, 500);
        EXPECT_LE(sink.problems.size(), 2u);
        if (outcome.arithmeticProblem) {
            EXPECT_TRUE(outcome.answer.empty());
            continue;
        }
        EXPECT_TRUE(std::isfinite(ReadNumber(outcome.answer))) << outcome.answer;
        const ResultTexts shown = ShowResults(*state);
        for (const std::string& text : {outcome.answer, shown.zr, shown.moment, shown.shear}) {
            EXPECT_EQ(text.find("Infinity"), std::string::npos) << text;
            EXPECT_EQ(text.find("NaN"), std::string::npos) << text;
        }
    }
}

struct ExtremeCase {
    const char* name;
    std::function<void(InputTexts&, int&)> change;
};

class ExtremeInputs : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeInputs, EndCleanly)
{
    InputTexts texts = ReferenceSand("50", "20", "3");
    int layers = 1;
    GetParam().change(texts, layers);
    ExpectCleanOutcome(texts, layers);
}

void FiveLayers(InputTexts& in, int& n)
{
    n = 5;
    const char* bottoms[] = {"1", "2", "4", "7", "100"};
    for (std::size_t i = 0; i < 5; ++i) {
        in.layers[i] = {i == 0 ? "0" : bottoms[i - 1], bottoms[i], "18", "10", "25", "0.5"};
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ExtremeInputs,
    ::testing::Values(
        ExtremeCase{"huge_load", [](InputTexts& in, int&) { in.h = "3e38"; }},
        ExtremeCase{"huge_moment", [](InputTexts& in, int&) { in.m = "3e38"; }},
        ExtremeCase{"huge_depth", [](InputTexts& in, int&) { in.l = "3e38"; }},
        ExtremeCase{"tiny_csf", [](InputTexts& in, int&) { in.csf = "1e-30"; }},
        ExtremeCase{"csf_below_single_range", [](InputTexts& in, int&) { in.csf = "1e-40"; }},
        ExtremeCase{"huge_csf", [](InputTexts& in, int&) { in.csf = "3e38"; }},
        ExtremeCase{"negative_load", [](InputTexts& in, int&) { in.h = "-500"; }},
        ExtremeCase{"negative_depth", [](InputTexts& in, int&) { in.l = "-3"; }},
        ExtremeCase{"pasted_paragraph", [](InputTexts& in, int&) { in.h = "The load is\nfifty kN, see note 3."; }},
        ExtremeCase{"comma_decimal", [](InputTexts& in, int&) { in.layers[0].d = "0,6"; }},
        ExtremeCase{"width_near_zero", [](InputTexts& in, int&) { in.layers[0].d = "0.0000001"; }},
        ExtremeCase{"width_subnormal", [](InputTexts& in, int&) { in.layers[0].d = "1e-44"; }},
        ExtremeCase{"huge_width", [](InputTexts& in, int&) { in.layers[0].d = "1e30"; }},
        ExtremeCase{"huge_unit_weight", [](InputTexts& in, int&) { in.layers[0].gama = "1e37"; }},
        ExtremeCase{"huge_cohesion", [](InputTexts& in, int&) { in.layers[0].c = "3e38"; }},
        ExtremeCase{"negative_cohesion_with_friction", [](InputTexts& in, int&) { in.layers[0].c = "-5"; }},
        ExtremeCase{"friction_angle_89", [](InputTexts& in, int&) { in.layers[0].phi = "89"; }},
        ExtremeCase{"friction_angle_89_99", [](InputTexts& in, int&) { in.layers[0].phi = "89.99"; }},
        ExtremeCase{"friction_angle_90", [](InputTexts& in, int&) { in.layers[0].phi = "90"; }},
        ExtremeCase{"friction_angle_minus_89", [](InputTexts& in, int&) {
            in.layers[0].phi = "-89";
            in.layers[0].c = "50";
        }},
        ExtremeCase{"friction_angle_minus_270", [](InputTexts& in, int&) {
            in.layers[0].phi = "-270";
            in.layers[0].c = "50";
        }},
        ExtremeCase{"five_layers", FiveLayers},
        ExtremeCase{"five_layers_of_zero_thickness", [](InputTexts& in, int& n) {
            FiveLayers(in, n);
            for (std::size_t i = 0; i < 4; ++i) {
                in.layers[i].from = "100";
                in.layers[i].to = "100";
            }
            in.layers[0].from = "0";
            in.layers[0].to = "100";
        }},
        ExtremeCase{"bottom_above_top", [](InputTexts& in, int& n) {
            FiveLayers(in, n);
            in.layers[2].to = "0.5";
            in.layers[3].from = "0.5";
        }},
        ExtremeCase{"zero_load_zero_moment_with_depth", [](InputTexts& in, int&) {
            in.h = "0";
            in.m = "0";
        }}),
    testing::CaseName());

} // namespace
} // namespace latcap
