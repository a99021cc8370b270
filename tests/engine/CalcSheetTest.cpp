#include "CalcSheet.h"
#include "CaseFile.h"
#include "NumberText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace latcap {
namespace {

    Calculation RunCase(Command command, const std::string& caseText)
    {
        Case read;
        std::string error;
        EXPECT_TRUE(ReadCase(caseText, "sheet", read, error)) << error;
        return Calculate(command, CaseInputs(read, "1"));
    }

    struct SheetCase {
        const char* name;
        Command command;
        const char* text;
    };

    void PrintTo(const SheetCase& row, std::ostream* out) { *out << row.name; }

    class Sheet : public ::testing::TestWithParam<SheetCase> { };

    // The checker's figures follow from the slice table: the forces and
    // moments balance the loads within the solvers' tolerance, and each
    // slice's force follows from its texts to 0.1 %.
    TEST_P(Sheet, BalancesAndReproducesTheSlices)
    {
        const Calculation calc = RunCase(GetParam().command, GetParam().text);
        ASSERT_EQ(calc.Status(), CalcStatus::Converged);
        const AnalysisState& s = *calc.state;
        const Equilibrium balance = EquilibriumCheck(s);
        EXPECT_NEAR(balance.load, s.H, 1e-6);
        EXPECT_NEAR(balance.headMoment, s.M, 1e-6);
        EXPECT_LE(std::fabs(balance.forceResidual), 0.1 + 1e-4);
        // About the head the force residual adds its lever arm Zr.
        EXPECT_LE(std::fabs(balance.momentResidual), 0.1 + 0.1 * s.Zr + 1e-3);
        for (int i = 1; i <= s.NoSlices; ++i) {
            const SliceType& slice = s.Slice[i];
            int layer = 1;
            while (layer < s.NoLayers && slice.Z > s.Layer[layer].ZTo)
                ++layer;
            const double force = std::stod(SignificantText(slice.SoilPressure, 5)) * s.Layer[layer].D
                * std::stod(SignificantText(slice.dZ, 5));
            EXPECT_NEAR(force / std::stod(SignificantText(slice.SoilForce, 5)), 1.0, 1e-3) << "slice " << i;
        }
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Sheet,
        ::testing::Values(SheetCase { "SandCalcL", Command::CalcL, "H = 50\nM = 20\nlayer 1 = 100, 18, 0, 30, 0.6" },
            SheetCase { "LayeredCalcM", Command::CalcM,
                "H = 40\nL = 4\nlayers = 2\nlayer 1 = 1.5, 17, 25, 0, 0.9\nlayer 2 = , 19, 0, 34, 0.6" }),
        testing::CaseName());

    // The table's coefficients are those of the coefficient tables at the
    // same angle and depth ratio, and stop at the toe.
    TEST(Sheet, CoefficientsOfTheLayersTheToeReaches)
    {
        const Calculation calc = RunCase(Command::CalcM,
            "H = 40\nL = 3\nlayers = 3\nlayer 1 = 1.2, 17, 0, 30, 0.6\nlayer 2 = 5, 18, 10, 20, 0.6\n"
            "layer 3 = , 19, 0, 35, 0.6");
        const auto rows = CoefficientsOfLayers(calc);
        ASSERT_EQ(rows.size(), 2u) << "layer 3 starts below the toe";
        EXPECT_EQ(rows[0].topKq, CalcKq(DegreesToRadians(30), 0.0f));
        EXPECT_FLOAT_EQ(rows[0].bottomRatio, 2.0f);
        EXPECT_EQ(rows[0].bottomKc, CalcKc(DegreesToRadians(30), 2.0f));
        EXPECT_EQ(rows[1].frictionAngle, 20.0);
        EXPECT_FLOAT_EQ(rows[1].bottomZ, 3.0f);
        EXPECT_EQ(rows[1].bottomKq, CalcKq(DegreesToRadians(20), 5.0f));
    }

    // The residual rule worked by hand on two slices, one either side of
    // Zr = 1 m: 0.5 m deep pushing against H, 1.5 m deep pushing with it, so
    // that the force is above - below and the moment about the head is
    // 1.5 below - 0.5 above. The force balances max(|H|, |M| / Zr), the moment
    // max(|M|, |H| Zr); a residual may be a tenth of that.
    struct ResidualRow {
        const char* name;
        float h, m, above, below;
        double forceResidual, momentResidual, forceBalanced, momentBalanced;
        bool resolved;
    };

    void PrintTo(const ResidualRow& row, std::ostream* out) { *out << row.name; }

    class Residuals : public ::testing::TestWithParam<ResidualRow> { };

    TEST_P(Residuals, WithinATenthOfTheLoads)
    {
        const ResidualRow& row = GetParam();
        AnalysisState s;
        s.H = row.h;
        s.M = row.m;
        s.Zr = 1.0f;
        s.NoSlices = 2;
        s.Slice[1].Z = 0.5f;
        s.Slice[1].SoilForce = row.above;
        s.Slice[2].Z = 1.5f;
        s.Slice[2].SoilForce = row.below;
        const Equilibrium balance = EquilibriumCheck(s);
        EXPECT_NEAR(balance.forceResidual, row.forceResidual, 1e-6);
        EXPECT_NEAR(balance.momentResidual, row.momentResidual, 1e-6);
        EXPECT_NEAR(balance.forceBalanced, row.forceBalanced, 1e-6);
        EXPECT_NEAR(balance.momentBalanced, row.momentBalanced, 1e-6);
        EXPECT_EQ(balance.Resolved(), row.resolved);
    }

    // 10 - (35.5 - 25) = -0.5 <= 2; 20 - (37.5 - 17.75) = 0.25 <= 2.
    // 0.01 - (0.125 - 0.0625) = -0.0525 > 0.001 of max(0.01, 0.01 / 1).
    // H = 0: 0 - (20.25 - 20) = -0.25 <= 2 of M / Zr = 20.
    // 1 - (1.5 - 5.5) = 5 > 1 of H Zr = 10, though the forces balance.
    INSTANTIATE_TEST_SUITE_P(Engine, Residuals,
        ::testing::Values(ResidualRow { "LoadsWellAboveTheTolerance", 10, 20, 35.5f, 25, -0.5, 0.25, 20, 20, true },
            ResidualRow {
                "LoadsBelowTheTolerance", 0.01f, 0.01f, 0.125f, 0.0625f, -0.0525, -0.02125, 0.01, 0.01, false },
            ResidualRow { "MomentAloneBalancesSoilAgainstSoil", 0, 20, 20.25f, 20, -0.25, 0.125, 20, 20, true },
            ResidualRow { "MomentResidualTooLarge", 10, 1, 11, 1, 0, 5, 10, 10, false }),
        testing::CaseName());

} // namespace
} // namespace latcap
