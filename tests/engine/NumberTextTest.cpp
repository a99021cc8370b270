#include "NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace latcap {
namespace {

struct ReadCase {
    const char* text;
    double value;
};

class NumberReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(NumberReading, ReadsTheLongestLeadingNumber)
{
    EXPECT_EQ(ReadNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberReading,
    ::testing::Values(ReadCase{"2.5E1", 25}, ReadCase{" 25", 25}, ReadCase{"25 kPa", 25}, ReadCase{"25,7", 25},
                      ReadCase{"1 000", 1000}, ReadCase{"1\t0\n0", 100}, ReadCase{"12abc", 12},
                      ReadCase{"", 0}, ReadCase{"abc", 0}, ReadCase{"-", 0}, ReadCase{".", 0},
                      ReadCase{".5", 0.5}, ReadCase{"5.", 5}, ReadCase{"-2.5", -2.5}, ReadCase{"+3", 3},
                      ReadCase{"- 4", -4}, ReadCase{"2.5e-1", 0.25}, ReadCase{"2.5E+2", 250},
                      ReadCase{"1e", 1}, ReadCase{"1e+", 1}, ReadCase{"1ee5", 1}, ReadCase{"1.2.3", 1.2},
                      ReadCase{"0.1", 0.1}, ReadCase{"1e-400", 0}, ReadCase{"--5", 0}, ReadCase{"$5", 0},
                      ReadCase{"1e400", std::numeric_limits<double>::infinity()},
                      ReadCase{"-1e400", -std::numeric_limits<double>::infinity()},
                      ReadCase{"0e999999999999999999999", 0}));

TEST(NumberReading, IgnoresTheLocaleDecimalComma)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(ReadNumber("1.5"), 1.5);
    EXPECT_EQ(ReadNumber("1,5"), 1.0);
    EXPECT_EQ(FormatMask(1.5, "##0.000"), "1.500");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct FormatCase {
    double value;
    const char* mask;
    const char* text;
};

class MaskFormatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(MaskFormatting, GivesTheText)
{
    EXPECT_EQ(FormatMask(GetParam().value, GetParam().mask), GetParam().text)
        << GetParam().value << " with " << GetParam().mask;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskFormatting,
    ::testing::Values(
        // Optional decimals
        FormatCase{80.5, "#####0.0#", "80.5"}, FormatCase{80, "#####0.0#", "80.0"},
        FormatCase{80.456, "#####0.0#", "80.46"}, FormatCase{2, "#####0.0##", "2.0"},
        FormatCase{0.5, "#####0.0##", "0.5"}, FormatCase{1.23456, "#####0.0##", "1.235"},
        FormatCase{100, "#####0.0##", "100.0"}, FormatCase{-12.25, "#####0.0##", "-12.25"},
        FormatCase{2.5746, "#####0.0##", "2.575"}, FormatCase{51.492, "#####0.0##", "51.492"},
        // Fixed decimals, integer digits beyond the mask
        FormatCase{0.5, "###0.00", "0.50"}, FormatCase{10, "###0.00", "10.00"},
        FormatCase{357.342, "###0.00", "357.34"}, FormatCase{123456.789, "###0.00", "123456.79"},
        FormatCase{4.25, "##0.000", "4.250"}, FormatCase{85, "####0.00", "85.00"},
        FormatCase{-841.72, "####0.00", "-841.72"}, FormatCase{50, "##0.000", "50.000"},
        // Half away from zero, on exact ties only
        FormatCase{0.125, "##0.00", "0.13"}, FormatCase{-0.125, "##0.00", "-0.13"},
        FormatCase{2.5, "##0", "3"}, FormatCase{0.0625, "0.000", "0.063"},
        FormatCase{1.005, "0.00", "1.00"}, // 1.005 is stored just below the tie
        FormatCase{9.9996, "#####0.0##", "10.0"}, FormatCase{99.995, "0.00", "100.00"},
        FormatCase{999.9999, "###0.00", "1000.00"},
        // Zero and values shown as zero carry no sign
        FormatCase{0, "#####0.0#", "0.0"}, FormatCase{-0.0, "###0.000", "0.000"},
        FormatCase{-0.0004, "#####0.0##", "0.0"}, FormatCase{-0.0005, "#####0.0##", "-0.001"},
        // List items
        FormatCase{1, "##", "1"}, FormatCase{5, "##", "5"}, FormatCase{0, "##0", "0"},
        FormatCase{45, "##0", "45"},
        // Large and tiny magnitudes keep every integer digit
        FormatCase{1267650600228229401496703205376.0, "###0.00", "1267650600228229401496703205376.00"},
        FormatCase{1e-30, "###0.00", "0.00"}));

TEST(MaskFormatting, SinglePrecisionValuesRoundFromTheirStoredValue)
{
    // 2.4785f is stored as 2.47849988..., so it rounds down.
    EXPECT_EQ(FormatMask(2.4785f, "##0.000"), "2.478");
    EXPECT_EQ(FormatMask(0.1f, "#####0.0##"), "0.1");
}

} // namespace
} // namespace latcap
