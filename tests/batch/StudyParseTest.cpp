#include "batch_study.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace latcap::batch {
namespace {

    struct SweepRow {
        std::string name;
        std::string text;
        std::string key;
        std::vector<std::string> values;
    };

    class SweepValues : public ::testing::TestWithParam<SweepRow> { };

    TEST_P(SweepValues, CarryTheDecimalsOfTheRange)
    {
        Sweep sweep;
        std::string error;
        ASSERT_TRUE(ParseSweep(GetParam().text, sweep, error)) << error;
        EXPECT_EQ(sweep.key, GetParam().key);
        EXPECT_EQ(sweep.values, GetParam().values);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, SweepValues, ::testing::Values(
        SweepRow { "WholeNumbers", "H=10:40:10", "H", { "10", "20", "30", "40" } },
        SweepRow { "StepDecimalsWin", "CSF=0.5:0.7:0.05", "CSF", { "0.50", "0.55", "0.60", "0.65", "0.70" } },
        SweepRow { "TenthsDoNotDriftPastTheEnd", "L=0:1:0.1", "L", { "0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0" } },
        SweepRow { "StopsBeforeOvershooting", "M=0:25:10", "M", { "0", "10", "20" } },
        SweepRow { "Downwards", "H=3:1:-1", "H", { "3", "2", "1" } },
        SweepRow { "ThroughZeroWithoutMinusZero", "M=-0.2:0.2:0.2", "M", { "-0.2", "0.0", "0.2" } },
        SweepRow { "OneValue", "H=5:5:1", "H", { "5" } },
        SweepRow { "Exponents", "H=1e2:3E2:1e2", "H", { "100", "200", "300" } },
        SweepRow { "LayerFieldWithBlanks", " layer 2.friction angle = 30 : 34 : 2 ", "layer 2.friction angle", { "30", "32", "34" } }),
        [](const ::testing::TestParamInfo<SweepRow>& row) { return row.param.name; });
    // clang-format on

    TEST(SweepValues, TenThousandRowsAreAllowed)
    {
        Sweep sweep;
        std::string error;
        ASSERT_TRUE(ParseSweep("H=1:10000:1", sweep, error)) << error;
        EXPECT_EQ(sweep.values.size(), 10000u);
        EXPECT_EQ(sweep.values.back(), "10000");
    }

    TEST(CarriedValue, IsTheShortestTextOfTheFloat)
    {
        EXPECT_EQ(CarriedValue(0.6f), 0.6);
        EXPECT_EQ(CarriedValue(2.4780273f), 2.4780273);
        EXPECT_EQ(static_cast<float>(CarriedValue(1.0f / 3.0f)), 1.0f / 3.0f);
    }

    TEST(Setting, SplitsAtTheFirstEquals)
    {
        CaseSetting setting;
        std::string error;
        ASSERT_TRUE(ParseSetting(" layer 1 = 100, 18, 0, 30, 0.6", setting, error));
        EXPECT_EQ(setting.key, "layer 1");
        EXPECT_EQ(setting.value, "100, 18, 0, 30, 0.6");
        EXPECT_FALSE(ParseSetting("=5", setting, error));
    }

} // namespace
} // namespace latcap::batch
