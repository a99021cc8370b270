#include "Broms.h"
#include "CaseFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace latcap {
namespace {

    class BromsBothWays : public ::testing::TestWithParam<testing::TableRow> { };

    // Calc M at the depth Calc L found gives back the moment: the soils of
    // tests/data/engine/broms-soils.tsv.
    TEST_P(BromsBothWays, CalcMAtTheDepthFoundGivesBackTheMoment)
    {
        const std::vector<double> n = testing::Numbers(GetParam()); // clay, unit weight, c, phi, D, H, M
        const BromsSoil soil { n[0] != 0, n[1], n[2], n[3], n[4] };
        const double depth = BromsDepth(soil, n[5], n[6]);
        EXPECT_NEAR(BromsMoment(soil, n[5], depth), n[6], 1e-3 * n[6]);
        EXPECT_GT(BromsDepth(soil, n[5] * 1.5, n[6]), depth) << "more load needs more depth";
    }

    INSTANTIATE_TEST_SUITE_P(Engine, BromsBothWays,
        ::testing::ValuesIn(testing::TableRows("engine/broms-soils.tsv", 7)), testing::CaseName());

    class BromsWorked : public ::testing::TestWithParam<testing::TableRow> { };

    // Broms' terms as worked by hand in tests/data/engine/broms-working.tsv.
    TEST_P(BromsWorked, TermsAsByHand)
    {
        const testing::TableRow& row = GetParam();
        const std::vector<double> n
            = testing::Numbers(row, 2); // Kp, the sand factor, e, f, g, depth, M, the largest moment
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase(row.fields[1], "hand", read, error)) << error;
        const Command command = row.fields[0] == "calc-l" ? Command::CalcL : Command::CalcM;
        const BromsResult broms = BromsCrossCheck(Calculate(command, CaseInputs(read, "1")));
        ASSERT_TRUE(broms.applicable) << broms.reason;
        const BromsWorking& w = broms.working;
        for (const auto& [found, byHand] : { std::pair { w.kp, n[0] }, { w.sandFactor, n[1] }, { w.e, n[2] },
                 { w.f, n[3] }, { w.g, n[4] }, { w.depth, n[5] }, { w.m, n[6] }, { w.maxMoment, n[7] } })
            EXPECT_NEAR(found, byHand, 2e-4 * std::fabs(byHand) + 1e-9);
    }

    INSTANTIATE_TEST_SUITE_P(Engine, BromsWorked,
        ::testing::ValuesIn(testing::TableRows("engine/broms-working.tsv", 10)), testing::CaseName());

} // namespace
} // namespace latcap
