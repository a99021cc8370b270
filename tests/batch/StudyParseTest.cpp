#include "Study.h"

#include <gtest/gtest.h>

namespace latcap::batch {
namespace {

    struct SweepRow {
        const char* name;
        const char* text;
        std::size_t count; // 0: refused
        const char* last; // the last value, or the reason refused
    };

    void PrintTo(const SweepRow& row, std::ostream* out) { *out << row.name; }

    class SweepValues : public ::testing::TestWithParam<SweepRow> { };

    // Running the calculations to show a count is not worth it: the parser
    // alone says how many rows there are and what the last one holds.
    TEST_P(SweepValues, CountAndLastValueOrExactReason)
    {
        const SweepRow& row = GetParam();
        Sweep sweep;
        std::string error;
        const bool ok = ParseSweep(row.text, sweep, error);
        if (row.count == 0) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(error, row.last);
            return;
        }
        ASSERT_TRUE(ok) << error;
        EXPECT_EQ(sweep.count, row.count);
        EXPECT_EQ(sweep.Value(sweep.count - 1), row.last);
    }

    INSTANTIATE_TEST_SUITE_P(Study, SweepValues,
        ::testing::Values(SweepRow { "TenMillionRowsAreAllowed", "H=1:10000000:1", 10'000'000, "10000000" },
            SweepRow { "OneMoreIsRefusedWithItsExactCount", "H=1:10000001:1", 0,
                "--vary \"H=1:10000001:1\": that is 10000001 calculations; at most 10000000 are allowed" },
            SweepRow { "ABillionIsCountedExactly", "H=1:1000000000:1", 0,
                "--vary \"H=1:1000000000:1\": that is 1000000000 calculations; at most 10000000 are allowed" },
            SweepRow { "BeyondCountingSaysSo", "H=0:1e300:1e-300", 0,
                "--vary \"H=0:1e300:1e-300\": that is more than 10000000 calculations; at most 10000000 are "
                "allowed" },
            SweepRow { "OverflowingExponentIsNoFault", "H=0e-2147483648:1:1", 2, "1" },
            SweepRow { "HugeValuesAreWrittenWhole", "H=1e100:2e100:5e99", 3,
                "2000000000000000031805782219519836093672161712789056277956265511549567754434076212162693997171363020"
                "8" },
            SweepRow { "TinyStepsKeepTheirDecimals", "H=1e-30:3e-30:1e-30", 3, "0.000000000000000000000000000003" },
            SweepRow { "TooFineToWriteIsRefused", "H=1e-50:2e-50:1e-50", 0,
                "--vary \"H=1e-50:2e-50:1e-50\": the value 1e-50 cannot be written exactly enough" },
            SweepRow { "ValuesADoubleCannotTellApartAreRefused", "H=1e17:1.0000000000000001e17:1", 0,
                "--vary \"H=1e17:1.0000000000000001e17:1\": the step 1 is too fine for values as large as "
                "1.0000000000000001e17: they would not be spaced exactly" },
            SweepRow { "ValuesADoubleCannotSpaceExactlyAreRefused", "H=1e20:1.00000000001e20:1e5", 0,
                "--vary \"H=1e20:1.00000000001e20:1e5\": the step 1e5 is too fine for values as large as "
                "1.00000000001e20: they would not be spaced exactly" },
            SweepRow { "LargeValuesWithAStepTheyKeep", "H=1e8:1.00001e8:1", 1001, "100001000" },
            SweepRow { "ControlBytesAreEscaped", "H=1:2:1\x01", 0,
                "--vary \"H=1:2:1\\x01\": the range must be three numbers FROM:TO:STEP, e.g. 10:100:10" }),
        [](const auto& row) { return std::string(row.param.name); });

    struct GridRow {
        const char* name;
        std::vector<const char*> texts;
        int layerCount; // of the case
        const char* error; // empty: accepted
    };

    void PrintTo(const GridRow& row, std::ostream* out) { *out << row.name; }

    class GridKeys : public ::testing::TestWithParam<GridRow> { };

    // Every varied key is a different value that some row's calculation uses.
    TEST_P(GridKeys, VaryWhatTheCalculationUsesOnce)
    {
        const GridRow& row = GetParam();
        std::vector<Sweep> sweeps(row.texts.size());
        std::string error;
        for (std::size_t i = 0; i < sweeps.size(); ++i)
            ASSERT_TRUE(ParseSweep(row.texts[i], sweeps[i], error)) << error;
        error.clear();
        EXPECT_EQ(DistinctKeys(sweeps, error) && KeysUsed(sweeps, row.layerCount, error), *row.error == 0);
        EXPECT_EQ(error, row.error);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Study, GridKeys, ::testing::Values(
        GridRow { "KeyInOtherCase", { "H=1:2:1", "h=10:20:10" }, 1, "--vary H and --vary h vary the same value" },
        GridRow { "FieldByItsOtherName", { "layer 1.phi=28:36:2", "M=1:2:1", "Layer  1.Friction Angle=30:32:2" }, 1,
            "--vary layer 1.phi and --vary Layer  1.Friction Angle vary the same value" },
        GridRow { "LayerBeyondTheCase", { "layer 3.phi=28:36:2" }, 2,
            "--vary layer 3.phi: the case has 2 layers, so layer 3 is not used" },
        GridRow { "LayerBeyondEveryVariedCount", { "layers=2:1:-1", "layer 3.c=10:20:10" }, 5,
            "--vary layer 3.c: --vary layers goes no higher than 2, so layer 3 is not used" },
        GridRow { "LayerOfSomeVariedCounts", { "layer 3.c=10:20:10", "layers=1:3:1" }, 1, "" },
        GridRow { "DeepestBottom", { "layer 1.bottom=1:2:1" }, 1,
            "--vary layer 1.bottom: the deepest layer's bottom is always 100 m" },
        GridRow { "BottomDeepestInEveryRow", { "layer 2.bottom=1:2:1", "layers=1:2:1" }, 5,
            "--vary layer 2.bottom: the deepest layer's bottom is always 100 m" },
        GridRow { "BottomAboveADeeperLayerInSomeRow", { "layers=2:3:1", "layer 2.bottom=1:2:1" }, 1, "" },
        GridRow { "BottomAboveTheDeepest", { "layer 1.bottom=1:2:1" }, 2, "" },
        GridRow { "Title", { "title=1:3:1" }, 1, "--vary title: the title is no input of the calculation" },
        GridRow { "JobDetails", { "Client=1:3:1" }, 1, "--vary Client: the job details are no input of the calculation" }),
        [](const auto& row) { return std::string(row.param.name); });
    // clang-format on

    TEST(Grid, RowsVaryTheLastKeyFastest)
    {
        std::vector<Sweep> sweeps(2);
        std::string error;
        ASSERT_TRUE(ParseSweep("H=10:30:10", sweeps[0], error));
        ASSERT_TRUE(ParseSweep("M=0:1:1", sweeps[1], error));
        std::size_t rows = 0;
        ASSERT_TRUE(CountRows(sweeps, rows));
        EXPECT_EQ(rows, 6u);
        EXPECT_EQ(RowValues(sweeps, 3), (std::vector<std::string> { "20", "1" }));
        sweeps.push_back(sweeps[0]);
        sweeps[0].count = sweeps[1].count = sweeps[2].count = 10'000'000;
        EXPECT_FALSE(CountRows(sweeps, rows));
    }

    TEST(Shard, PartsCoverEveryRowOnce)
    {
        for (const std::size_t rows : { 1u, 7u, 100u }) {
            std::size_t next = 0;
            for (std::size_t part = 1; part <= 4; ++part) {
                const Shard shard { part, 4 };
                EXPECT_EQ(shard.First(rows), next);
                next = shard.Last(rows);
            }
            EXPECT_EQ(next, rows);
        }
        Shard shard;
        std::string error;
        EXPECT_FALSE(ParseShard("5/4", shard, error));
        EXPECT_TRUE(ParseShard("2/4", shard, error));
    }

} // namespace
} // namespace latcap::batch
