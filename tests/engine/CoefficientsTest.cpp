#include "Coefficients.h"
#include "FileFormats.h"
#include "InputData.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace latcap {
namespace {

    class Coefficients : public ::testing::TestWithParam<testing::TableRow> { };

    // The values of tests/data/engine/published-coefficients.tsv.
    TEST_P(Coefficients, MatchThePublishedValues)
    {
        const auto n = [](const std::string& field) { return std::stod(field); };
        const auto& [degrees, ratio, kq, kc, tolerance] = std::tie(GetParam().fields[0], GetParam().fields[1],
            GetParam().fields[2], GetParam().fields[3], GetParam().fields[4]);
        const float phi = DegreesToRadians(n(degrees));
        const auto depthRatio = static_cast<float>(n(ratio));
        if (kq != "none") {
            EXPECT_NEAR(CalcKq(phi, depthRatio), n(kq), n(tolerance));
        }
        if (kc != "none") {
            EXPECT_NEAR(CalcKc(phi, depthRatio), n(kc), n(tolerance));
        }
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Coefficients,
        ::testing::ValuesIn(testing::TableRows("engine/published-coefficients.tsv", 5)), testing::CaseName());

    TEST(Coefficients, AnglesAreConvertedWithTheProgramsPi)
    {
        EXPECT_EQ(DegreesToRadians(30), 0.52359873f) << "30 degrees with pi taken as 3.1415925";
    }

    TEST(CoefficientTables, MatchTheKeptFilesByteForByte)
    {
        for (const TableFile& file : CoefficientTableFiles())
            EXPECT_EQ(file.text, testing::ReadFile(testing::DataPath(file.name)));
    }

} // namespace
} // namespace latcap
