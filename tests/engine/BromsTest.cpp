#include "Broms.h"
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

} // namespace
} // namespace latcap
