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

    struct CaseRow {
        const char* name;
        Command command;
        const char* text;
        const char* reason; // empty when Broms applies
    };

    void PrintTo(const CaseRow& row, std::ostream* out) { *out << row.name; }

    class BromsApplies : public ::testing::TestWithParam<CaseRow> { };

    TEST_P(BromsApplies, OnlyToOneSoilOfOneKind)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase(GetParam().text, "broms", read, error)) << error;
        const BromsResult result
            = BromsCrossCheck(Calculate(GetParam().command, CaseInputs(read, "1"), read.layerCount));
        EXPECT_EQ(result.applicable ? "" : result.reason, std::string(GetParam().reason));
    }

    INSTANTIATE_TEST_SUITE_P(Engine, BromsApplies,
        ::testing::Values(
            CaseRow { "SandApplies", Command::CalcL, "H = 6\nM = 16.8\nlayer 1 = 100, 18, 0, 32, 0.45", "" },
            CaseRow { "LayersBelowTheToeDoNotMatter", Command::CalcM,
                "H = 50\nL = 2\nlayers = 2\nlayer 1 = 3, 18, 40, 0, 0.6\nlayer 2 = , 19, 0, 35, 0.6", "" },
            CaseRow { "LayeredSoil", Command::CalcL,
                "H = 50\nM = 20\nlayers = 2\nlayer 1 = 1, 18, 40, 0, 0.6\nlayer 2 = , 19, 0, 35, 0.6",
                "layered soil: the layers the pile reaches differ" },
            CaseRow { "CohesionAndFriction", Command::CalcL, "H = 50\nM = 20\nlayer 1 = 100, 18, 10, 25, 0.6",
                "cohesion and friction together" },
            CaseRow { "NoWeightForFriction", Command::CalcL,
                "H = 5\nM = 2\nlayers = 2\nlayer 1 = 1, 0, 0, 30, 0.6\n"
                "layer 2 = , 18, 30, 0, 0.6",
                "no strength: neither a cohesion alone nor a unit weight with friction" }),
        testing::CaseName());

    // Broms in sand needs the same depth for the loads divided by CSF.
    TEST(Broms, WorksWithTheLoadsDividedByCsf)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase("CSF = 0.5\nH = 3\nM = 8.4\nlayer 1 = 100, 18, 0, 32, 0.45", "csf", read, error));
        const BromsResult half = BromsCrossCheck(Calculate(Command::CalcL, CaseInputs(read, "1"), 1));
        EXPECT_NEAR(half.depth, BromsDepth({ false, 18, 0, 32, 0.45 }, 6, 16.8), 1e-5);
        EXPECT_NEAR(half.maxMoment, 0.5 * BromsMaxMoment({ false, 18, 0, 32, 0.45 }, 6, 16.8), 1e-4);
    }

} // namespace
} // namespace latcap
