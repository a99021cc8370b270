#include "batch_study.h"

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
            SweepRow { "ControlBytesAreEscaped", "H=1:2:1\x01", 0,
                "--vary \"H=1:2:1\\x01\": the range must be three numbers FROM:TO:STEP, e.g. 10:100:10" }),
        [](const auto& row) { return std::string(row.param.name); });

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
