#include "Coefficients.h"
#include "FileFormats.h"
#include "InputData.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace latcap {
namespace {

    struct PublishedValue {
        const char* name;
        double degrees;
        float depthRatio;
        double kq; // NAN where none is published
        double kc;
        double tolerance;
    };

    void PrintTo(const PublishedValue& value, std::ostream* out) { *out << value.name; }

    class Coefficients : public ::testing::TestWithParam<PublishedValue> { };

    TEST_P(Coefficients, MatchThePublishedValues)
    {
        const PublishedValue& v = GetParam();
        const float phi = DegreesToRadians(v.degrees);
        if (!std::isnan(v.kq)) {
            EXPECT_NEAR(CalcKq(phi, v.depthRatio), v.kq, v.tolerance);
        }
        if (!std::isnan(v.kc)) {
            EXPECT_NEAR(CalcKc(phi, v.depthRatio), v.kc, v.tolerance);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Coefficients,
        ::testing::Values(PublishedValue { "TwentyFiveDegrees", 25, 5.556f, 6.223, 25.210, 0.0006 },
            PublishedValue { "TwentyPointFiveDegreesAtTen", 20.5, 10, 4.7732, NAN, 0.00006 },
            PublishedValue { "TwentyPointFiveDegreesAtFourteen", 20.5, 14, 5.0563, NAN, 0.00006 },
            PublishedValue { "ThirtyDegreesAtGreatDepth", 30, 1e7f, 17.70, 61.32, 0.006 },
            PublishedValue { "ZeroAngleGivesNoKqAndKcJustBesideIt", 0, 1e7f, 0, 8.144, 0.0006 },
            PublishedValue { "NegativeAngleGivesNoKq", -10, 3, 0, NAN, 0 }),
        testing::CaseName());

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
