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

    class Residuals : public ::testing::TestWithParam<testing::TableRow> { };

    // The residual rule as worked by hand in tests/data/engine/residuals.tsv.
    TEST_P(Residuals, WithinATenthOfTheLoads)
    {
        // H, M, the slices above and below, the residuals, what they balance
        const std::vector<double> n = testing::Numbers(GetParam(), 1);
        AnalysisState s;
        s.H = static_cast<float>(n[0]);
        s.M = static_cast<float>(n[1]);
        s.Zr = 1.0f;
        s.NoSlices = 2;
        s.Slice[1].Z = 0.5f;
        s.Slice[1].SoilForce = static_cast<float>(n[2]);
        s.Slice[2].Z = 1.5f;
        s.Slice[2].SoilForce = static_cast<float>(n[3]);
        const Equilibrium balance = EquilibriumCheck(s);
        EXPECT_NEAR(balance.forceResidual, n[4], 1e-6);
        EXPECT_NEAR(balance.momentResidual, n[5], 1e-6);
        EXPECT_NEAR(balance.forceBalanced, n[6], 1e-6);
        EXPECT_NEAR(balance.momentBalanced, n[7], 1e-6);
        EXPECT_EQ(balance.Resolved(), GetParam().fields[0] == "resolved");
    }

    INSTANTIATE_TEST_SUITE_P(
        Engine, Residuals, ::testing::ValuesIn(testing::TableRows("engine/residuals.tsv", 9)), testing::CaseName());

} // namespace
} // namespace latcap
