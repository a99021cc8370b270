#include "CalcSheet.h"
#include "Calculation.h"
#include "CaseFile.h"
#include "Commands.h"
#include "FileFormats.h"
#include "NumberText.h"
#include "PileForces.h"
#include "SoilForces.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <tuple>

namespace latcap {
namespace {

    using testing::RecordingSink;

    using Row = testing::TableRow;

    // Every row is shown by its name.
    template <typename Named>
    requires requires(Named row) { row.name; }
    void PrintTo(const Named& row, std::ostream* out) { *out << row.name; }

    std::vector<Row> Rows(const std::string& file) { return testing::TableRows("engine/" + file, 5); }

    class Texts : public ::testing::TestWithParam<Row> { };

    TEST_P(Texts, AreReadAndShownAsKept)
    {
        const auto& [what, input, mask, expected]
            = std::tie(GetParam().fields[0], GetParam().fields[1], GetParam().fields[2], GetParam().fields[3]);
        if (what == "reads") {
            EXPECT_EQ(ReadNumber(input), std::strtod(expected.c_str(), nullptr)) << '"' << input << '"';
        } else if (what == "shows") {
            const double value = std::strtod(input.c_str(), nullptr);
            EXPECT_EQ(FormatMask(input.back() == 'f' ? static_cast<float>(value) : value, mask), expected);
        } else if (what == "is") {
            const NumberReading reading = ReadNumberText(input);
            EXPECT_EQ(reading.empty ? "empty" : reading.whole ? "a number" : "not a number", expected);
        } else if (what == "quotes" || what == "keeps") {
            // The input's \xNN stands for that byte.
            std::string bytes = input;
            for (auto at = bytes.find("\\x"); at != std::string::npos; at = bytes.find("\\x", at + 1))
                bytes.replace(at, 4, 1, static_cast<char>(std::stoi(bytes.substr(at + 2, 2), nullptr, 16)));
            EXPECT_EQ(what == "quotes" ? QuotedText(bytes) : ValidUtf8Text(bytes), expected);
        } else if (what == "significant") {
            EXPECT_EQ(SignificantText(std::strtod(input.c_str(), nullptr), 5), expected);
        } else if (what == "marks") {
            EXPECT_EQ(ReadNumberText(input).misread ? "marked" : "read as meant", expected);
        } else {
            ASSERT_EQ(what, "csf line");
            EXPECT_EQ(SettingsCsfLine(input).value_or("<none>"), expected);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Texts, ::testing::ValuesIn(Rows("texts.tsv")), testing::CaseName());

    TEST(Locale, DecimalCommaIsIgnored)
    {
        const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
            GTEST_SKIP() << "no German locale installed";
        EXPECT_EQ(ReadNumber("1,5"), 1.0);
        EXPECT_EQ(FormatMask(1.5, "##0.000"), "1.500");
        std::setlocale(LC_NUMERIC, saved.c_str());
    }

    // Whatever a box holds comes back the same from a saved case file.
    TEST(CaseFile, EveryTextReadsBackAsWritten)
    {
        for (const std::string text : { "Pile #3, north", "\"quoted\" \"\"", " blanks ", "5,5", "=", "" }) {
            Case written;
            written.title = written.h = written.m = written.l = written.ei = written.nh = written.k = text;
            written.csf = text;
            written.layerCount = 2;
            written.layers[0] = written.layers[1] = { "", text, text, text, text, text };
            written.factors = "EN 1997-1 DA2";
            written.customFactors.fill(text);
            Case read;
            std::string error;
            ASSERT_TRUE(ReadCase(WriteCase(written, { "Results: # 1" }), "t", read, error)) << error;
            EXPECT_EQ(WriteCase(read), WriteCase(written)) << text;
            EXPECT_EQ(read.title, text);
            EXPECT_EQ(read.layers[1].d, text);
            EXPECT_EQ(read.customFactors, written.customFactors);
            EXPECT_EQ(read.ei + read.nh + read.k, text + text + text);
        }
    }

    // A title or job detail in bytes that are not UTF-8 shows them as escapes,
    // the same in the window, the report and latcap-batch.
    TEST(CaseFile, TitleAndJobDetailsShowBytesNotUtf8AsEscapes)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase("title = bad\xffname\nproject = x\xfe\n", "t", read, error)) << error;
        EXPECT_EQ(read.title, "bad\\xffname");
        EXPECT_EQ(read.job.project, "x\\xfe");
    }

    class Validation : public ::testing::TestWithParam<Row> { };

    TEST_P(Validation, DecidesWhetherToCalculate)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase("CSF = 1\nH = 50\nM = 20\nlayer 1 = 100, 18, 0, 30, 0.6", "sand", read, error));
        std::istringstream settings(GetParam().fields[1]);
        for (std::string setting; std::getline(settings, setting, ';');) {
            const std::size_t equals = setting.find('=');
            ASSERT_TRUE(SetCaseValue(read, setting.substr(0, equals), setting.substr(equals + 1), error)) << error;
        }
        AnalysisState state;
        state.NoLayers = static_cast<std::int16_t>(read.layerCount);
        InputProblem problem;
        const Command command = GetParam().fields[2] == "Calc M" ? Command::CalcM : Command::CalcL;
        const bool ok = GatherInputs(CaseInputs(read, ""), state, command, &problem);
        EXPECT_EQ(ok ? "passes" : problem.reason, GetParam().fields[0]);
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Validation, ::testing::ValuesIn(Rows("validation.tsv")), testing::CaseName());

    class Stiffness : public ::testing::TestWithParam<Row> { };

    TEST_P(Stiffness, JudgesThePileAtItsDepth)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase(GetParam().fields[0], "test", read, error)) << error;
        const Calculation calc = Calculate(Command::CalcM, CaseInputs(read, "1"));
        EXPECT_EQ(RigiditySummary(calc.rigidity), GetParam().fields[1]);
        EXPECT_EQ(calc.validity, GetParam().fields[2]);
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Stiffness, ::testing::ValuesIn(Rows("rigidity.tsv")), testing::CaseName());

    // The state gathered from a case as a case file gives it; CSF 1 unless set.
    AnalysisState Gathered(const std::string& caseText, Command command)
    {
        Case read;
        std::string error;
        EXPECT_TRUE(ReadCase(caseText, "test", read, error)) << error;
        AnalysisState state;
        state.NoLayers = static_cast<std::int16_t>(read.layerCount);
        EXPECT_TRUE(GatherInputs(CaseInputs(read, "1"), state, command));
        return state;
    }

    class SliceCoefficients : public ::testing::TestWithParam<Row> { };

    // Under 25 degree soil down to 2 m, every slice of a Calc M holds the Kq and
    // Kc that the formulas give for its own layer's angle at its depth ratio:
    // the second layers of tests/data/engine/second-layers.tsv.
    TEST_P(SliceCoefficients, AreTheFormulasOfTheirLayerToTheBit)
    {
        const auto& [cohesion, angle, width]
            = std::tie(GetParam().fields[0], GetParam().fields[1], GetParam().fields[2]);
        AnalysisState state = Gathered("H = 50\nL = 6\nlayers = 2\nlayer 1 = 2, 17, 10, 25, 0.5\nlayer 2 = , 18, "
                + cohesion + ", " + angle + ", " + width,
            Command::CalcM);
        RecordingSink sink;
        RunCalcM(state, sink);
        ASSERT_EQ(state.NoSlices, 150);
        for (int i = 1; i <= state.NoSlices; ++i) {
            const SliceType& slice = state.Slice[i];
            const bool upper = slice.Z < 2.0f;
            const float phi = DegreesToRadians(upper ? 25.0 : std::stod(angle));
            const float ratio = static_cast<float>(double(slice.Z) / (upper ? 0.5f : std::stof(width)));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(slice.Kq), std::bit_cast<std::uint32_t>(CalcKq(phi, ratio))) << i;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(slice.Kc), std::bit_cast<std::uint32_t>(CalcKc(phi, ratio))) << i;
        }
    }

    INSTANTIATE_TEST_SUITE_P(
        Engine, SliceCoefficients, ::testing::ValuesIn(Rows("second-layers.tsv")), testing::CaseName());

    class SliceTable : public ::testing::TestWithParam<Row> { };

    TEST_P(SliceTable, CutsFiftySlicesFromEachRange)
    {
        AnalysisState state = Gathered("H = 50\nM = 20\nlayers = 3\nlayer 1 = 2, 18, 0, 30, 0.5\n"
                                       "layer 2 = 4, 19, 0, 30, 0.5\nlayer 3 = , 20, 0, 30, 0.5",
            Command::CalcL);
        const float zr = std::stof(GetParam().fields[0]);
        const float depth = std::stof(GetParam().fields[1]);
        CalcSoilForces(state, CurvesOfLayers(state), zr, depth);
        EXPECT_EQ(state.NoSlices, std::stoi(GetParam().fields[2]));
    }

    INSTANTIATE_TEST_SUITE_P(Engine, SliceTable, ::testing::ValuesIn(Rows("slice-table.tsv")), testing::CaseName());

    class Commands : public ::testing::TestWithParam<Row> { };

    // Whatever the outcome, the sums left belong to the Zr and depth left.
    TEST_P(Commands, ReportEachProblemOnceAndKeepTheLastTrial)
    {
        const auto& [command, inputs, depthReports, momentReports, shown] = std::tie(GetParam().fields[0],
            GetParam().fields[1], GetParam().fields[2], GetParam().fields[3], GetParam().fields[4]);
        const bool calcL = command == "Calc L";
        AnalysisState state = Gathered(inputs, calcL ? Command::CalcL : Command::CalcM);
        RecordingSink sink;
        const CalcOutcome outcome = calcL ? RunCalcL(state, sink) : RunCalcM(state, sink);
        const auto& reports = sink.problems;
        EXPECT_EQ(std::count(reports.begin(), reports.end(), SolverProblem::Depth), std::stol(depthReports));
        EXPECT_EQ(std::count(reports.begin(), reports.end(), SolverProblem::Moment), std::stol(momentReports));
        EXPECT_EQ(outcome.iterationProblem, !reports.empty());
        EXPECT_EQ(outcome.arithmeticProblem, shown == "arithmetic problem");
        EXPECT_EQ(outcome.answer.empty(), outcome.arithmeticProblem);
        AnalysisState again = state;
        CalcSoilForces(again, CurvesOfLayers(again), again.Zr, calcL ? again.LCalc : again.L);
        for (auto sum : { &AnalysisState::ForceAbove, &AnalysisState::ForceBelow, &AnalysisState::SoilMoment })
            EXPECT_EQ(std::bit_cast<std::uint32_t>(again.*sum), std::bit_cast<std::uint32_t>(state.*sum));
    }

    INSTANTIATE_TEST_SUITE_P(Engine, Commands, ::testing::ValuesIn(Rows("commands.tsv")), testing::CaseName());

    TEST(Solvers, ResidualOfExactlyPointOneCountsAsConverged)
    {
        // With no soil the horizontal residual is the load itself.
        AnalysisState state;
        state.H = 0.1f;
        RecordingSink sink;
        const float depth = 2.0f;
        FindZr(state, CurvesOfLayers(state), depth, state.Zr, sink);
        EXPECT_TRUE(sink.problems.empty());
        state.H = std::nextafter(0.1f, 1.0f);
        FindZr(state, CurvesOfLayers(state), depth, state.Zr, sink);
        EXPECT_EQ(sink.problems.size(), 1u);
    }

    TEST(PileForces, SliceAtTheRotationPointCountsWithTheSlicesAbove)
    {
        AnalysisState state;
        state.NoSlices = 2;
        state.H = 10;
        state.Zr = 1.0f;
        state.Slice[1] = { 0, 0, 0, 0, 1.0f, 1.0f, 4.0f, 0, 0 };
        state.Slice[2] = { 0, 0, 0, 0, 1.0f, 2.0f, 4.0f, 0, 0 };
        CalcPileForces(state);
        EXPECT_FLOAT_EQ(state.Slice[1].Shear, 10 - 2);
        EXPECT_FLOAT_EQ(state.Slice[2].Shear, 10 - 4 + 2);
        EXPECT_FLOAT_EQ(state.Slice[2].Moment, 10 * 2 - 1 * 4 + 2 * 0.25f);
        EXPECT_FLOAT_EQ(state.MaxShear, 8) << "the first of equal magnitudes wins";
    }

} // namespace
} // namespace latcap
