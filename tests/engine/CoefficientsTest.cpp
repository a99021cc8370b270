#include "Coefficients.h"
#include "InputData.h"

#include "TestCases.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace latcap {
namespace {

float Degrees(double angle) { return DegreesToRadians(angle); }

struct CoefficientCase {
    const char* name;
    double degrees;
    float ratio;
    double kq;
    double kc;
    double tolerance;
};

class PublishedCoefficients : public ::testing::TestWithParam<CoefficientCase> {};

TEST_P(PublishedCoefficients, MatchWithinTheirPrintedDigits)
{
    const CoefficientCase& c = GetParam();
    const float phi = Degrees(c.degrees);
    if (c.kq >= 0) {
        EXPECT_NEAR(CalcKq(phi, c.ratio), c.kq, c.tolerance);
    }
    if (c.kc >= 0) {
        EXPECT_NEAR(CalcKc(phi, c.ratio), c.kc, c.tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DesignTables, PublishedCoefficients,
    ::testing::Values(CoefficientCase{"phi25_zD5_556", 25, 5.556f, 6.223, 25.210, 0.0006},
                      CoefficientCase{"phi20_5_zD10", 20.5, 10.0f, 4.7732, -1, 0.00006},
                      CoefficientCase{"phi20_5_zD14", 20.5, 14.0f, 5.0563, -1, 0.00006},
                      CoefficientCase{"phi30_surface", 30, 0.0f, 4.753, 6.974, 0.0006},
                      CoefficientCase{"phi30_zD1", 30, 1.0f, 5.994, 16.86, 0.006},
                      CoefficientCase{"phi30_great_depth", 30, 1.0e7f, 17.70, 61.32, 0.006},
                      CoefficientCase{"zero_angle_kc_at_surface", 0, 0.0f, 0.0, 2.575, 0.0006},
                      CoefficientCase{"zero_angle_kc_deep", 0, 1.0e7f, 0.0, 8.144, 0.0006}),
    testing::CaseName());

TEST(Coefficients, KqIsExactlyZeroForZeroAndNegativeAngles)
{
    for (float phi : {0.0f, -0.0f, -0.1f, Degrees(-30)}) {
        for (float ratio : {0.0f, 0.5f, 20.0f, 1000.0f})
            EXPECT_EQ(CalcKq(phi, ratio), 0.0f) << phi << " " << ratio;
    }
}

TEST(Coefficients, SurfaceValuesAreReturnedExactlyAtZeroDepth)
{
    for (double degrees : {5.0, 17.5, 30.0, 45.0}) {
        const float phi = Degrees(degrees);
        EXPECT_EQ(CalcKq(phi, 0.0f), KqCurve(phi).surface);
        EXPECT_EQ(CalcKc(phi, 0.0f), KcCurve(phi).surface);
    }
}

TEST(Coefficients, ZeroAngleKcDoesNotChangeTheCallersAngle)
{
    const float phi = 0.0f;
    const float kc = CalcKc(phi, 1.0f);
    EXPECT_EQ(phi, 0.0f);
    EXPECT_NEAR(kc, CalcKc(0.001f, 1.0f), 1e-4);
    EXPECT_EQ(CalcKq(phi, 1.0f), 0.0f);
}

TEST(Coefficients, AngleConversionUsesTheProgramsPi)
{
    EXPECT_EQ(std::bit_cast<std::uint32_t>(kPi), 0x40490FDAu);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(Degrees(30)), 0x3F060A91u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(Degrees(45)), 0x3F490FDAu);
    EXPECT_EQ(Degrees(0), 0.0f);
}

TEST(CoefficientTables, RowsStepAtFiveAndTenAndEndAtTwenty)
{
    AnalysisState state;
    FillKqTable(state);
    const float expected[] = {0, 0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20};
    for (std::size_t i = 1; i <= 10; ++i) {
        for (std::size_t j = 1; j <= 21; ++j) {
            EXPECT_EQ(state.KqTable[i][j][1], expected[j - 1]);
            EXPECT_EQ(state.KqTable[i][j][2], float((i - 1) * 5));
        }
        EXPECT_EQ(state.KqTable[i][0][3], 0.0f);
    }
    for (std::size_t j = 1; j <= 21; ++j)
        EXPECT_EQ(state.KqTable[1][j][3], 0.0f) << "the 0 degree column of Kq holds only zeros";
}

TEST(CoefficientTables, FirstRowMatchesTheSurfaceValues)
{
    AnalysisState state;
    FillKqTable(state);
    FillKcTable(state);
    const double kq[] = {0.000, 0.455, 0.951, 1.535, 2.277, 3.287, 4.753, 7.032, 10.854, 17.878};
    const double kc[] = {2.575, 2.936, 3.383, 3.945, 4.668, 5.634, 6.974, 8.926, 11.948, 17.011};
    for (std::size_t i = 1; i <= 10; ++i) {
        EXPECT_NEAR(state.KqTable[i][1][3], kq[i - 1], 0.0005) << (i - 1) * 5;
        EXPECT_NEAR(state.KcTable[i][1][3], kc[i - 1], 0.0005) << (i - 1) * 5;
    }
    EXPECT_EQ(state.KcTable[1][1][2], 0.0f) << "the angle entry stays 0 though Kc is taken at 0.001 rad";
}

TEST(CoefficientTables, FillingTwiceGivesTheSameTables)
{
    AnalysisState first;
    FillKqTable(first);
    FillKcTable(first);
    AnalysisState second = first;
    FillKqTable(second);
    FillKcTable(second);
    EXPECT_EQ(first.KqTable, second.KqTable);
    EXPECT_EQ(first.KcTable, second.KcTable);
}

} // namespace
} // namespace latcap
