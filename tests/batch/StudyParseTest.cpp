#include "Study.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace latcap::batch {
namespace {

    using Row = testing::TableRow;

    class SweepValues : public ::testing::TestWithParam<Row> { };

    // Running the calculations to show a count is not worth it: the parser
    // alone says how many rows there are and what the last one holds.
    TEST_P(SweepValues, CountAndLastValueOrExactReason)
    {
        const auto& [text, count, last] = std::tie(GetParam().fields[0], GetParam().fields[1], GetParam().fields[2]);
        std::string bytes = text;
        if (const auto at = bytes.find("\\x01"); at != std::string::npos)
            bytes.replace(at, 4, "\x01");
        Sweep sweep;
        std::string error;
        const bool ok = ParseSweep(bytes, sweep, error);
        if (count == "0") {
            EXPECT_FALSE(ok);
            EXPECT_EQ(error, last);
            return;
        }
        ASSERT_TRUE(ok) << error;
        EXPECT_EQ(std::to_string(sweep.count), count);
        EXPECT_EQ(sweep.Value(sweep.count - 1), last);
    }

    INSTANTIATE_TEST_SUITE_P(
        Study, SweepValues, ::testing::ValuesIn(testing::TableRows("study/sweeps.tsv", 3)), testing::CaseName());

    class GridKeys : public ::testing::TestWithParam<Row> { };

    // Every varied key is a different value that some row's calculation uses.
    TEST_P(GridKeys, VaryWhatTheCalculationUsesOnce)
    {
        const auto& [texts, layerCount, expected]
            = std::tie(GetParam().fields[0], GetParam().fields[1], GetParam().fields[2]);
        std::vector<Sweep> sweeps;
        std::string error;
        std::istringstream list(texts);
        for (std::string text; std::getline(list, text, ';');)
            ASSERT_TRUE(ParseSweep(text, sweeps.emplace_back(), error)) << error;
        error.clear();
        EXPECT_EQ(DistinctKeys(sweeps, error) && KeysUsed(sweeps, std::stoi(layerCount), error), expected.empty());
        EXPECT_EQ(error, expected);
    }

    INSTANTIATE_TEST_SUITE_P(
        Study, GridKeys, ::testing::ValuesIn(testing::TableRows("study/grids.tsv", 3)), testing::CaseName());

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
