#include "Broms.h"
#include "CaseFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace latcap {
namespace {

    struct SoilRow {
        const char* name;
        BromsSoil soil;
        double h, m;
    };

    void PrintTo(const SoilRow& row, std::ostream* out) { *out << row.name; }

    class BromsBothWays : public ::testing::TestWithParam<SoilRow> { };

    // Calc M at the depth Calc L found gives back the moment.
    TEST_P(BromsBothWays, CalcMAtTheDepthFoundGivesBackTheMoment)
    {
        const SoilRow& row = GetParam();
        const double depth = BromsDepth(row.soil, row.h, row.m);
        EXPECT_NEAR(BromsMoment(row.soil, row.h, depth), row.m, 1e-3 * row.m);
        EXPECT_GT(BromsDepth(row.soil, row.h * 1.5, row.m), depth) << "more load needs more depth";
    }

    INSTANTIATE_TEST_SUITE_P(Engine, BromsBothWays,
        ::testing::Values(SoilRow { "Clay", { true, 18, 50, 0, 0.75 }, 13.6, 102 },
            SoilRow { "SoftClayWide", { true, 16, 15, 0, 1.2 }, 80, 40 },
            SoilRow { "SignPostSand", { false, 18, 0, 32, 0.45 }, 6, 16.8 },
            SoilRow { "LooseSandLargeLoad", { false, 16, 0, 28, 0.6 }, 150, 10 }),
        testing::CaseName());

    // Broms' terms worked by hand, the loads as given (CSF 1).
    // Clay, cu 50 kPa, D 0.75 m, H 13.6 kN, M 102 kNm: e = 102 / 13.6 = 7.5;
    // f = 13.6 / (9 x 50 x 0.75) = 0.04030; Mmax = 13.6 (7.5 + 1.125 + 0.02015)
    // = 117.57; g = sqrt(117.57 / (2.25 x 50 x 0.75)) = 1.1805;
    // L = 1.125 + 0.0403 + 1.1805 = 2.3458.
    // Sand, 18 kN/m3, 32 deg, D 0.45 m, H 6 kN, M 16.8 kNm: Kp = tan^2 61 deg
    // = 3.2546; 0.5 x 18 x 0.45 x 3.2546 = 13.181; 13.181 L^3 = 6 L + 16.8 at
    // L = 1.2235; f = 0.82 sqrt(6 / (0.45 x 3.2546 x 18)) = 0.39120;
    // Mmax = 16.8 + 6 x 0.67 x 0.3912 = 18.373.
    // Fence post, clay 40 kPa, D 0.3 m, H 2 kN, L 0.7 m: f = 2 / 108 = 0.018519;
    // g = 0.7 - 0.45 - 0.018519 = 0.23148; Mmax = 2.25 x 40 x 0.3 x 0.23148^2
    // = 1.4468; M = 1.4468 - 2 (0.45 + 0.009259) = 0.52824; e = 0.26412.
    struct WorkingRow {
        const char* name;
        Command command;
        const char* caseText;
        double kp, sandFactor, e, f, g, depth, m, maxMoment;
    };

    void PrintTo(const WorkingRow& row, std::ostream* out) { *out << row.name; }

    class BromsWorked : public ::testing::TestWithParam<WorkingRow> { };

    TEST_P(BromsWorked, TermsAsByHand)
    {
        const WorkingRow& row = GetParam();
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase(row.caseText, "hand", read, error)) << error;
        const BromsResult broms = BromsCrossCheck(Calculate(row.command, CaseInputs(read, "1")));
        ASSERT_TRUE(broms.applicable) << broms.reason;
        const BromsWorking& w = broms.working;
        for (const auto& [found, byHand] :
            { std::pair { w.kp, row.kp }, { w.sandFactor, row.sandFactor }, { w.e, row.e }, { w.f, row.f },
                { w.g, row.g }, { w.depth, row.depth }, { w.m, row.m }, { w.maxMoment, row.maxMoment } })
            EXPECT_NEAR(found, byHand, 2e-4 * std::fabs(byHand) + 1e-9);
    }

    INSTANTIATE_TEST_SUITE_P(Engine, BromsWorked,
        ::testing::Values(WorkingRow { "ClayCalcL", Command::CalcL, "H = 13.6\nM = 102\nlayer 1 = 100, 18, 50, 0, 0.75",
                              0, 0, 7.5, 0.040296, 1.18045, 2.34575, 102, 117.574 },
            WorkingRow { "SandCalcL", Command::CalcL, "H = 6\nM = 16.8\nlayer 1 = 100, 18, 0, 32, 0.45", 3.254588,
                13.18108, 2.8, 0.391201, 0, 1.22349, 16.8, 18.3726 },
            WorkingRow { "FencePostCalcM", Command::CalcM, "H = 2\nL = 0.7\nlayer 1 = 100, 18, 40, 0, 0.3", 0, 0,
                0.264120, 0.0185185, 0.231481, 0.7, 0.528241, 1.446759 }),
        testing::CaseName());

} // namespace
} // namespace latcap
