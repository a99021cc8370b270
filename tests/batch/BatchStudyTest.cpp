#include "BatchProcess.h"

#include "NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace latcap::testing {
namespace {

    std::vector<std::string> Split(const std::string& text, char separator)
    {
        std::vector<std::string> parts;
        std::stringstream in(text);
        std::string part;
        while (std::getline(in, part, separator))
            parts.push_back(part);
        if (!text.empty() && text.back() == separator && separator == ',')
            parts.emplace_back();
        return parts;
    }

    std::string Number(const std::string& line, const std::string& prefix, const std::string& suffix)
    {
        return line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
    }

    struct SweepRow {
        std::string name;
        const char* command;
        const char* caseFile;
        QString vary;
        std::size_t rows;
        int exitCode;
    };

    class Sweep : public ::testing::TestWithParam<SweepRow> { };

    TEST_P(Sweep, EveryRowIsWhatASeparateRunPrints)
    {
        const SweepRow& param = GetParam();
        const BatchResult sweep = RunCase(param.command, param.caseFile, { u"--vary"_s, param.vary });
        EXPECT_EQ(sweep.exitCode, param.exitCode) << sweep.err;
        const std::vector<std::string> lines = Split(sweep.out, '\n');
        ASSERT_EQ(lines.size(), param.rows + 1) << sweep.out;
        const std::string answerKey = param.command == std::string("calc-l") ? "L" : "M";

        const QString key = param.vary.left(param.vary.indexOf(QLatin1Char('=')));
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> cells = Split(lines[i], ',');
            ASSERT_EQ(cells.size(), 7u) << lines[i];
            const BatchResult single = RunCase(param.command, param.caseFile,
                { u"--set"_s, key + QLatin1Char('=') + QString::fromStdString(cells[0]) });
            const std::vector<std::string> shown = Split(single.out, '\n');
            if (shown.empty()) {
                EXPECT_EQ(cells[1] + cells[2] + cells[3] + cells[4], "") << lines[i];
            } else {
                ASSERT_EQ(shown.size(), 4u) << single.out;
                EXPECT_EQ(cells[1], Number(shown[0], answerKey + " = ", ""));
                EXPECT_EQ(cells[2], Number(shown[1], "Zr = ", " m"));
                EXPECT_EQ(cells[3], Number(shown[2], "Moment = ", " kNm"));
                EXPECT_EQ(cells[4], Number(shown[3], "Shear = ", " kN"));
            }
            EXPECT_EQ(cells[5], single.exitCode == 0 ? "yes" : "no") << lines[i];
            std::string expected;
            for (const std::string& message : Split(single.err, '\n'))
                expected += (expected.empty() ? "" : "; ") + message;
            EXPECT_EQ(cells[6], expected) << lines[i];
        }
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, Sweep, ::testing::Values(
        SweepRow { "LateralLoad", "calc-l", "calc-l-reference.case", u"H=40:60:10"_s, 3, 0 },
        SweepRow { "LoadDownwards", "calc-m", "calc-m-reference.case", u"H=60:40:-10"_s, 3, 0 },
        SweepRow { "StrengthFactor", "calc-l", "calc-l-reference.case", u"CSF=0.5:1:0.25"_s, 3, 0 },
        SweepRow { "LayerCohesion", "calc-m", "calc-m-reference.case", u"layer 1.cohesion=0:20:10"_s, 3, 0 },
        SweepRow { "FrictionByItsShortName", "calc-l", "calc-l-reference.case", u"layer 1.phi=25:35:5"_s, 3, 0 },
        SweepRow { "ZeroWidthRowHasNoResults", "calc-l", "calc-l-reference.case", u"layer 1.width=0:0.6:0.3"_s, 3, 2 },
        SweepRow { "BeyondFiftyMetresDoesNotConverge", "calc-l", "calc-l-beyond-50m.case", u"H=4000:5000:1000"_s, 2, 1 }),
        RowName());
    // clang-format on

    TEST(Sweep, HeaderNamesTheKeyAndTheUnits)
    {
        const BatchResult result
            = RunCase("calc-m", "calc-m-reference.case", { u"--vary"_s, u"layer 1.unit weight=18:18:1"_s });
        EXPECT_EQ(result.out,
            "layer 1.unit weight [kN/m3],M [kNm],Zr [m],Moment [kNm],Shear [kN],Converged,Messages\n"
            "18,101.32,2.336,142.72,169.01,yes,\n");
    }

    struct JsonRow {
        std::string name;
        const char* command;
        const char* caseFile;
    };

    class Json : public ::testing::TestWithParam<JsonRow> { };

    TEST_P(Json, HoldsTheNumbersOfTheTextOutput)
    {
        const JsonRow& param = GetParam();
        QTemporaryDir dir;
        const QString details = dir.filePath(u"details.csv"_s);
        const BatchResult text = RunCase(param.command, param.caseFile, { u"--details"_s, details });
        const BatchResult json = RunCase(param.command, param.caseFile, { u"--json"_s, u"--slices"_s });
        EXPECT_EQ(json.exitCode, text.exitCode);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        const QJsonObject object = document.object();

        const std::vector<std::string> lines = Split(text.out, '\n');
        ASSERT_EQ(lines.size(), 4u);
        auto shown = [&](const char* key, const char* mask) {
            return FormatMask(static_cast<float>(object.value(QLatin1String(key)).toDouble()), mask);
        };
        const bool calcL = param.command == std::string("calc-l");
        EXPECT_EQ((calcL ? "L = " + shown("L", "##0.000") : "M = " + shown("M", "####0.00")), lines[0]);
        EXPECT_EQ("Zr = " + shown("Zr", "###0.000") + " m", lines[1]);
        EXPECT_EQ("Moment = " + shown("maxMoment", "#####0.0#") + " kNm", lines[2]);
        EXPECT_EQ("Shear = " + shown("maxShear", "#####0.0#") + " kN", lines[3]);
        EXPECT_EQ(object.value(u"converged"_s).toBool(), text.exitCode == 0);
        EXPECT_EQ(object.value(u"exitStatus"_s).toInt(), text.exitCode);
        EXPECT_TRUE(object.value(u"inputs"_s).toObject().value(u"H"_s).isDouble());

        // The slice table holds the numbers of the details file.
        QFile file(details);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const std::vector<std::string> rows = Split(file.readAll().toStdString(), '\n');
        const QJsonArray slices = object.value(u"slices"_s).toArray();
        ASSERT_EQ(static_cast<std::size_t>(slices.size()), rows.size() - 1);
        for (qsizetype i = 0; i < slices.size(); ++i) {
            const QJsonObject slice = slices[i].toObject();
            std::string line;
            for (const char* key :
                { "z", "weightAbove", "Kq", "Kc", "dz", "soilPressure", "soilForce", "shear", "moment" })
                line += FormatMask(static_cast<float>(slice.value(QLatin1String(key)).toDouble()), "#####0.0##") + ",";
            EXPECT_EQ(line + "\r", rows[static_cast<std::size_t>(i) + 1]);
        }
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, Json, ::testing::Values(
        JsonRow { "CalcL", "calc-l", "calc-l-reference.case" },
        JsonRow { "CalcLWithCsf", "calc-l", "calc-l-csf-half.case" },
        JsonRow { "CalcMBelowTheToe", "calc-m", "calc-m-beyond-toe.case" },
        JsonRow { "NotConverged", "calc-l", "calc-l-beyond-50m.case" }),
        RowName());
    // clang-format on

    TEST(Json, NotEnoughDataHasMessagesAndNoResults)
    {
        const BatchResult result = RunCase("calc-l", "not-enough-data.case", { u"--json"_s });
        EXPECT_EQ(result.exitCode, 2);
        const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
        EXPECT_EQ(object.value(u"messages"_s).toArray().at(0).toString(), u"Not Enough Data"_s);
        EXPECT_FALSE(object.contains(u"L"_s));
        EXPECT_FALSE(object.value(u"converged"_s).toBool());
    }

    TEST(Json, SweepIsAnArrayWithTheVariedValue)
    {
        const BatchResult result
            = RunCase("calc-l", "calc-l-reference.case", { u"--vary"_s, u"H=40:50:10"_s, u"--json"_s });
        const QJsonArray rows = QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).array();
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[1].toObject().value(u"varied"_s).toObject().value(u"value"_s).toDouble(), 50.0);
        EXPECT_EQ(rows[1].toObject().value(u"shown"_s).toArray().at(0).toString(), u"L = 2.478"_s);
    }

    // Every text of an SVG file; empty when it is not well-formed XML.
    std::string SvgTexts(const QString& path, std::string& error)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = "cannot open";
            return {};
        }
        QXmlStreamReader xml(&file);
        std::string texts;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isCharacters() && !xml.isWhitespace())
                texts += xml.text().toString().toStdString() + "\n";
        }
        if (xml.hasError())
            error = xml.errorString().toStdString();
        return texts;
    }

    struct PlotRow {
        std::string name;
        const char* command;
        const char* caseFile;
        std::vector<std::string> labels;
    };

    class Plot : public ::testing::TestWithParam<PlotRow> { };

    TEST_P(Plot, SvgIsWellFormedWithThreePanelsAndTheirLabels)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"pile.svg"_s);
        const BatchResult result = RunCase(GetParam().command, GetParam().caseFile, { u"--plot"_s, path });
        EXPECT_EQ(result.err, "");
        std::string error;
        const std::string texts = SvgTexts(path, error);
        EXPECT_EQ(error, "");
        std::vector<std::string> labels
            = { "Ultimate soil pressure p [kPa]", "Shear force V [kN]", "Bending moment M [kNm]", "Depth z [m]" };
        labels.insert(labels.end(), GetParam().labels.begin(), GetParam().labels.end());
        for (const std::string& label : labels)
            EXPECT_NE(texts.find(label), std::string::npos) << label << " not in\n" << texts;
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, Plot, ::testing::Values(
        PlotRow { "CalcL", "calc-l", "calc-l-reference.case", { "calc-l-reference", "Rotation Zr = 1.979 m", "Pile toe L = 2.478 m", "max. 61.42 kNm", "max. 100.34 kN" } },
        PlotRow { "CalcMTurningBelowTheToe", "calc-m", "calc-m-beyond-toe.case", { "Rotation Zr = 3.015 m", "Pile toe L = 3.000 m", "max. 829.66 kNm", "max. 399.95 kN" } },
        PlotRow { "LayersAndTitle", "calc-l", "layered.case", { "Two layers and a CSF", "Top of layer 2: 1.5 m", "Layer 2, 1.5 to 100 m" } }),
        RowName());
    // clang-format on

    TEST(Plot, PngHasItsSizeAndIsNotBlank)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"pile.PNG"_s);
        const BatchResult result = RunCase("calc-l", "calc-l-reference.case", { u"--plot"_s, path });
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const QImage image(path, "PNG");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(2400, 1480));
        std::set<QRgb> colours;
        qsizetype inked = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) {
                const QRgb pixel = image.pixel(x, y);
                colours.insert(pixel);
                inked += pixel != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        EXPECT_GT(inked, image.width() * image.height() / 4 / 50);
        EXPECT_GT(colours.size(), 20u);
    }

    TEST(Plot, OntoAFolderExitsWith64AndLeavesItAlone)
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"pile.svg"_s);
        ASSERT_TRUE(QDir().mkdir(folder));
        const BatchResult result = RunCase("calc-l", "calc-l-reference.case", { u"--plot"_s, folder });
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_NE(result.err.find("The file " + folder.toStdString() + " could not be written: it is a folder."),
            std::string::npos)
            << result.err;
        EXPECT_TRUE(QFileInfo(folder).isDir());
    }

    class Example : public ::testing::TestWithParam<const char*> { };

    // The diagrams kept beside the examples say what a fresh run draws.
    TEST_P(Example, KeptDiagramMatchesAFreshRun)
    {
        const QString base = QStringLiteral(LATCAP_EXAMPLES "/") + QString::fromLatin1(GetParam());
        QTemporaryDir dir;
        const QString fresh = dir.filePath(u"fresh.svg"_s);
        const BatchResult result = RunBatch({ u"calc-l"_s, base + u".case"_s, u"--plot"_s, fresh });
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::string error;
        const std::string texts = SvgTexts(fresh, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(SvgTexts(base + u".svg"_s, error), texts);
        EXPECT_EQ(error, "");
    }

    INSTANTIATE_TEST_SUITE_P(Examples, Example,
        ::testing::Values("sign-post-sand", "light-pole-clay-over-sand", "layered-site-csf"),
        [](const ::testing::TestParamInfo<const char*>& row) {
            std::string name = row.param;
            name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
            return name;
        });

    struct ErrorRow {
        std::string name;
        QStringList arguments;
        std::string message;
    };

    class StudyUsage : public ::testing::TestWithParam<ErrorRow> { };

    TEST_P(StudyUsage, ExitsWith64AndSaysWhy)
    {
        const BatchResult result = RunCase("calc-l", "calc-l-reference.case", GetParam().arguments);
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, StudyUsage, ::testing::Values(
        ErrorRow { "ZeroStep", { u"--vary"_s, u"H=10:100:0"_s }, "the step must not be zero" },
        ErrorRow { "FromAboveToWithPositiveStep", { u"--vary"_s, u"H=100:10:5"_s }, "a positive step never gets from 100 to 10" },
        ErrorRow { "FromBelowToWithNegativeStep", { u"--vary"_s, u"H=10:100:-5"_s }, "a negative step never gets from 10 to 100" },
        ErrorRow { "MoreThanTenThousandRows", { u"--vary"_s, u"H=0:10000:1"_s }, "that is 10001 calculations; at most 10000 are allowed" },
        ErrorRow { "RangeNotNumbers", { u"--vary"_s, u"H=ten:20:1"_s }, "the range must be three numbers FROM:TO:STEP" },
        ErrorRow { "RangeOfTwoNumbers", { u"--vary"_s, u"H=10:20"_s }, "three numbers" },
        ErrorRow { "UnknownVaryKey", { u"--vary"_s, u"Q=1:2:1"_s }, "unknown key \"Q\"" },
        ErrorRow { "WholeLayerCannotBeVaried", { u"--vary"_s, u"layer 1=1:2:1"_s }, "\"layer 1\" holds five values" },
        ErrorRow { "UnknownLayerField", { u"--vary"_s, u"layer 1.density=1:2:1"_s }, "unknown layer field \"density\"" },
        ErrorRow { "TwoSweeps", { u"--vary"_s, u"H=1:2:1"_s, u"--vary"_s, u"M=1:2:1"_s }, "--vary may be given once" },
        ErrorRow { "SetWithoutValue", { u"--set"_s, u"H"_s }, "--set needs KEY=VALUE" },
        ErrorRow { "SetUnknownKey", { u"--set"_s, u"depth=3"_s }, "unknown key \"depth\"" },
        ErrorRow { "SetBadLayerCount", { u"--set"_s, u"layers=7"_s }, "layers must be" },
        ErrorRow { "PlotOfUnknownKind", { u"--plot"_s, u"pile.pdf"_s }, "must end in .svg or .png" },
        ErrorRow { "PlotIntoAMissingFolder", { u"--plot"_s, u"/nonexistent/pile.svg"_s }, "The file /nonexistent/pile.svg could not be written" },
        ErrorRow { "PlotOfASweep", { u"--vary"_s, u"H=1:2:1"_s, u"--plot"_s, u"a.svg"_s }, "--plot writes one calculation" },
        ErrorRow { "LayerCountOfAFraction", { u"--vary"_s, u"layers=1:2:0.5"_s }, "--vary layers=1.0: layers must be a whole number from 1 to 5, not \"1.0\"" },
        ErrorRow { "SlicesWithoutJson", { u"--slices"_s }, "--slices goes with --json" }),
        RowName());
    // clang-format on

} // namespace
} // namespace latcap::testing
