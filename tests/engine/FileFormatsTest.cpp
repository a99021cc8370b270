#include "Commands.h"
#include "Coefficients.h"
#include "FileFormats.h"
#include "TestCases.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace latcap {
namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream in(std::string(LATCAP_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char* kDetailsHeader = "Z,Weight Above,Kq,Kc,dZ,Soil Pressure,Soil Force,CSF * Pile Shear,CSF * Pile Moment\r\n";

TEST(CalcDetails, NoSlicesGivesOnlyTheHeader)
{
    AnalysisState state;
    std::ostringstream out;
    WriteCalcDetails(out, state);
    EXPECT_EQ(out.str(), kDetailsHeader);
}

TEST(CalcDetails, EveryValueIsFollowedByACommaAndScaledByCsf)
{
    AnalysisState state;
    state.NoSlices = 2;
    state.CSF = 1.5f;
    state.Slice[1] = {0, 2.5746f, 51.492f, 4.5f, 0.5f, 0.25f, 25.746f, 0, 0};
    state.Slice[2] = {1, 2, 3, 4, 5, 6, 7, 8, -10};
    state.Slice[2].Shear = -10;
    state.Slice[2].Moment = 8;
    std::ostringstream out;
    WriteCalcDetails(out, state);
    EXPECT_EQ(out.str(), std::string(kDetailsHeader) + "0.25,4.5,0.0,2.575,0.5,51.492,25.746,0.0,0.0,\r\n"
                             + "6.0,4.0,1.0,2.0,5.0,3.0,7.0,-15.0,12.0,\r\n");
}

TEST(CalcDetails, ReferenceCalcLMatchesTheKeptFile)
{
    AnalysisState state;
    state.NoLayers = 1;
    ASSERT_TRUE(GatherInputs(testing::ReferenceSand("50", "20", ""), state));
    testing::RecordingSink sink;
    RunCalcL(state, sink);
    std::ostringstream out;
    WriteCalcDetails(out, state);
    EXPECT_EQ(out.str(), ReadFile("reference-calc-l.csv"));
}

TEST(CoefficientTableFiles, MatchTheKeptFilesByteForByte)
{
    AnalysisState state;
    FillKqTable(state);
    FillKcTable(state);
    std::ostringstream kq;
    std::ostringstream kc;
    WriteCoefficientTable(kq, state.KqTable);
    WriteCoefficientTable(kc, state.KcTable);
    EXPECT_EQ(kq.str(), ReadFile("KqTable.CSV"));
    EXPECT_EQ(kc.str(), ReadFile("KcTable.CSV"));

    const std::string header = "z/D,0\xB0,5\xB0,10\xB0,15\xB0,20\xB0,25\xB0,30\xB0,35\xB0,40\xB0,45\xB0\r\n";
    EXPECT_EQ(kq.str().substr(0, header.size()), header);
    EXPECT_EQ(kq.str().substr(header.size(), 20), "0.00,0.00,0.46,0.95,");
    EXPECT_EQ(kc.str().substr(header.size(), 20), "0.00,2.57,2.94,3.38,");
    std::istringstream lines(kq.str());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        ASSERT_EQ(line.back(), '\r');
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 10);
    }
    EXPECT_EQ(count, 22);
}

struct SettingsCase {
    const char* name;
    std::string content;
    std::optional<std::string> csf;
};

class SettingsFile : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsFile, SecondLineIsTheStrengthFactor)
{
    EXPECT_EQ(SettingsCsfLine(GetParam().content), GetParam().csf);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SettingsFile,
    ::testing::Values(SettingsCase{"crlf", "[Latcap]\r\n0.75\r\n", "0.75"},
                      SettingsCase{"lf", "[Latcap]\n0.75\n", "0.75"},
                      SettingsCase{"cr", "[Latcap]\r0.75\r", "0.75"},
                      SettingsCase{"no_final_line_end", "[Latcap]\r\n0.75", "0.75"},
                      SettingsCase{"kept_verbatim", "x\r\n0.5 ; remark \r\nmore\r\n", "0.5 ; remark "},
                      SettingsCase{"empty_second_line", "x\r\n\r\n", ""},
                      SettingsCase{"one_line", "x\r\n", std::nullopt},
                      SettingsCase{"one_line_without_end", "x", std::nullopt},
                      SettingsCase{"empty_file", "", std::nullopt}),
    testing::CaseName());

} // namespace
} // namespace latcap
