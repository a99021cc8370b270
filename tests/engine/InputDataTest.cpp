#include "InputData.h"
#include "TestCases.h"

#include <gtest/gtest.h>

#include <functional>

namespace latcap {
namespace {

using testing::ReferenceSand;

struct ValidationCase {
    const char* name;
    std::function<void(InputTexts&, int& layers)> change;
    bool ok;
};

class Validation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(Validation, DecidesWhetherToCalculate)
{
    InputTexts inputs = ReferenceSand("50", "20", "");
    int layers = 1;
    GetParam().change(inputs, layers);
    AnalysisState state;
    state.NoLayers = static_cast<std::int16_t>(layers);
    EXPECT_EQ(GatherInputs(inputs, state), GetParam().ok);
    EXPECT_EQ(state.DataOK, GetParam().ok ? kTrue : kFalse);
}

void TwoLayers(InputTexts& t, int& layers)
{
    layers = 2;
    t.layers[0].to = "2";
    t.layers[1] = {"2", "100", "18", "0", "30", "0.6"};
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Validation,
    ::testing::Values(
        ValidationCase{"reference_passes", [](InputTexts&, int&) {}, true},
        ValidationCase{"empty_moment_with_depth_passes", [](InputTexts& in, int&) { in.m = ""; in.l = "10"; }, true},
        ValidationCase{"zero_moment_and_depth_fail", [](InputTexts& in, int&) { in.m = "0"; in.l = "0"; }, false},
        ValidationCase{"empty_moment_and_depth_fail", [](InputTexts& in, int&) { in.m = ""; in.l = ""; }, false},
        ValidationCase{"negative_moment_passes", [](InputTexts& in, int&) { in.m = "-50"; in.l = ""; }, true},
        ValidationCase{"negative_depth_without_moment_fails", [](InputTexts& in, int&) { in.m = ""; in.l = "-3"; }, false},
        ValidationCase{"empty_load_passes", [](InputTexts& in, int&) { in.h = ""; }, true},
        ValidationCase{"negative_load_passes", [](InputTexts& in, int&) { in.h = "-10"; }, true},
        ValidationCase{"empty_csf_fails", [](InputTexts& in, int&) { in.csf = ""; }, false},
        ValidationCase{"zero_csf_fails", [](InputTexts& in, int&) { in.csf = "0"; }, false},
        ValidationCase{"negative_csf_fails", [](InputTexts& in, int&) { in.csf = "-1"; }, false},
        ValidationCase{"zero_width_fails", [](InputTexts& in, int&) { in.layers[0].d = "0"; }, false},
        ValidationCase{"empty_width_fails", [](InputTexts& in, int&) { in.layers[0].d = ""; }, false},
        ValidationCase{"width_without_digits_fails", [](InputTexts& in, int&) { in.layers[0].d = "wide"; }, false},
        ValidationCase{"empty_bottom_fails", [](InputTexts& in, int&) { in.layers[0].to = ""; }, false},
        ValidationCase{"any_top_of_first_layer_passes", [](InputTexts& in, int&) { in.layers[0].from = "-7"; }, true},
        ValidationCase{"no_cohesion_no_friction_fails",
                       [](InputTexts& in, int&) { in.layers[0].phi = "0"; in.layers[0].c = "0"; }, false},
        ValidationCase{"cohesion_alone_passes",
                       [](InputTexts& in, int&) { in.layers[0].phi = "0"; in.layers[0].c = "5"; }, true},
        ValidationCase{"negative_cohesion_cancelling_strength_fails",
                       [](InputTexts& in, int&) { in.layers[0].c = "-9.43"; }, false},
        ValidationCase{"negative_unit_weight_with_cohesion_passes",
                       [](InputTexts& in, int&) { in.layers[0].gama = "-1"; in.layers[0].c = "40"; }, true},
        ValidationCase{"two_layers_pass", TwoLayers, true},
        ValidationCase{"bottom_above_top_fails",
                       [](InputTexts& in, int& n) { TwoLayers(in, n); in.layers[0].to = "150"; in.layers[1].from = "150"; },
                       false},
        ValidationCase{"zero_thickness_layer_passes",
                       [](InputTexts& in, int& n) { TwoLayers(in, n); in.layers[1].from = "100"; in.layers[0].to = "100"; },
                       true},
        ValidationCase{"hidden_rows_are_not_read",
                       [](InputTexts& in, int&) { in.layers[1] = {"x", "", "", "", "", ""}; }, true},
        ValidationCase{"width_beyond_single_precision_fails", [](InputTexts& in, int&) { in.layers[0].d = "1e39"; }, false},
        ValidationCase{"load_beyond_single_precision_fails", [](InputTexts& in, int&) { in.h = "1e39"; }, false},
        ValidationCase{"tiny_csf_overflowing_the_load_fails", [](InputTexts& in, int&) { in.csf = "1e-40"; }, false},
        ValidationCase{"strength_total_overflow_fails",
                       [](InputTexts& in, int&) { in.layers[0].gama = "3e38"; in.layers[0].phi = "80"; }, false},
        ValidationCase{"friction_angle_89_passes", [](InputTexts& in, int&) { in.layers[0].phi = "89"; }, true},
        ValidationCase{"friction_angle_90_fails", [](InputTexts& in, int&) { in.layers[0].phi = "90"; }, false},
        ValidationCase{"friction_angle_400_fails", [](InputTexts& in, int&) { in.layers[0].phi = "400"; }, false},
        ValidationCase{"negative_friction_angle_with_cohesion_passes",
                       [](InputTexts& in, int&) { in.layers[0].phi = "-10"; in.layers[0].c = "30"; }, true}),
    testing::CaseName());

TEST(Gathering, StoresScaledLoadsAndRadians)
{
    InputTexts texts = ReferenceSand("20", "100", "7.5", "0.5");
    AnalysisState state;
    state.NoLayers = 1;
    ASSERT_TRUE(GatherInputs(texts, state));
    EXPECT_EQ(state.CSF, 0.5f);
    EXPECT_EQ(state.M, 200.0f);
    EXPECT_EQ(state.H, 40.0f);
    EXPECT_EQ(state.L, 7.5f);
    EXPECT_EQ(state.Layer[1].Phi, 0.52359873f);
    EXPECT_EQ(state.Layer[1].ZTo, 100.0f);
}

TEST(Gathering, FailedValidationStillStoresEveryLayerAndLeavesHiddenOnes)
{
    InputTexts texts = ReferenceSand("20", "", "", "0");
    texts.layers[1] = {"100", "100", "19", "7", "35", "0.9"};
    texts.layers[2] = {"100", "100", "20", "8", "40", "1.2"};
    AnalysisState state;
    state.NoLayers = 2;
    state.Layer[3].C = 123.0f;
    EXPECT_FALSE(GatherInputs(texts, state));
    EXPECT_EQ(state.Layer[2].C, 7.0f);
    EXPECT_EQ(state.Layer[2].D, 0.9f);
    EXPECT_EQ(state.Layer[3].C, 123.0f);
}

} // namespace
} // namespace latcap
