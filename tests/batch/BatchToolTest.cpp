#include "BatchProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace Qt::StringLiterals;

namespace latcap::testing {
namespace {

    QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    void WriteAll(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    struct CaseRow {
        std::string name;
        const char* command;
        const char* caseFile;
        std::string out;
        std::string err;
        int exitCode;
    };

    class BatchCase : public ::testing::TestWithParam<CaseRow> { };

    TEST_P(BatchCase, PrintsWhatTheWindowShows)
    {
        const CaseRow& row = GetParam();
        const BatchResult result = RunCase(row.command, row.caseFile);
        EXPECT_EQ(result.out, row.out);
        EXPECT_EQ(result.err, row.err);
        EXPECT_EQ(result.exitCode, row.exitCode);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(ReferenceSand, BatchCase, ::testing::Values(
        CaseRow { "CalcL", "calc-l", "calc-l-reference.case", "L = 2.478\nZr = 1.979 m\nMoment = 61.42 kNm\nShear = 100.34 kN\n", "", 0 },
        CaseRow { "CalcM", "calc-m", "calc-m-reference.case", "M = 101.32\nZr = 2.336 m\nMoment = 142.72 kNm\nShear = 169.01 kN\n", "", 0 },
        CaseRow { "CalcLWithCsfHalf", "calc-l", "calc-l-csf-half.case", "L = 3.302\nZr = 2.648 m\nMoment = 76.75 kNm\nShear = 96.03 kN\n", "", 0 },
        CaseRow { "CalcMTurningBelowTheToe", "calc-m", "calc-m-beyond-toe.case", "M = -841.72\nZr = 3.015 m\nMoment = 829.66 kNm\nShear = 399.95 kN\n", "", 0 },
        CaseRow { "CalcLBeyond50mReportsOnceAndShows50", "calc-l", "calc-l-beyond-50m.case", "L = 50.000\nZr = 46.329 m\nMoment = 192093.42 kNm\nShear = 4999.25 kN\n", "Calculating Depth - Iteration Problem\n", 1 },
        CaseRow { "NotEnoughData", "calc-l", "not-enough-data.case", "", "Not Enough Data\n", 2 },
        CaseRow { "NotEnoughDataForCalcM", "calc-m", "not-enough-data.case", "", "Not Enough Data\n", 2 }),
        RowName());
    // clang-format on

    // Whatever a box holds, the tool ends with results of finite numbers, a
    // solver or arithmetic message, or "Not Enough Data"; never a crash.
    struct ExtremeRow {
        std::string name;
        const char* command;
        QStringList sets;
    };

    class ExtremeInput : public ::testing::TestWithParam<ExtremeRow> { };

    TEST_P(ExtremeInput, EndsWithResultsOrAMessage)
    {
        const ExtremeRow& row = GetParam();
        QStringList sets;
        for (const QString& set : row.sets)
            sets << u"--set"_s << set;
        const BatchResult result = RunCase(row.command, "calc-m-reference.case", sets);
        ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 1 || result.exitCode == 2)
            << result.exitCode << " " << result.err;
        for (const char* bad : { "inf", "nan", "Inf", "NaN" })
            EXPECT_EQ(result.out.find(bad), std::string::npos) << result.out;
        EXPECT_TRUE(result.exitCode != 2 || result.err == "Not Enough Data\n") << result.err;
        EXPECT_TRUE(result.exitCode != 0 || std::count(result.out.begin(), result.out.end(), '\n') == 4) << result.out;
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Boxes, ExtremeInput, ::testing::Values(
        ExtremeRow { "HugeLoad", "calc-l", { u"H=1e39"_s } },
        ExtremeRow { "Paragraph", "calc-m", { u"H=fifty kN as agreed"_s } },
        ExtremeRow { "NegativeBottom", "calc-m", { u"layers=2"_s, u"layer 1.bottom=-5"_s, u"layer 2.width=0.6"_s, u"layer 2.gamma=18"_s, u"layer 2.phi=30"_s } },
        ExtremeRow { "FrictionAngle400", "calc-m", { u"layer 1.phi=400"_s } }),
        RowName());
    // clang-format on

    TEST(BatchDetails, MatchTheKeptFileByteForByte)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"details.csv"_s);
        const BatchResult result = RunCase("calc-l", "calc-l-reference.case", { u"--details"_s, path });
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadAll(path), ReadAll(QStringLiteral(LATCAP_TEST_DATA "/reference-calc-l.csv")));
    }

    TEST(BatchDetails, NotWrittenWithoutResults)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"details.csv"_s);
        WriteAll(path, "keep me");
        const BatchResult result = RunCase("calc-l", "not-enough-data.case", { u"--details"_s, path });
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(ReadAll(path), "keep me");
    }

    struct TargetRow {
        std::string name;
        QString target; // relative to a fresh folder unless absolute
        std::string reason;
    };

    class UnwritableDetails : public ::testing::TestWithParam<TargetRow> { };

    TEST_P(UnwritableDetails, ExitWithTheFileAndTheReason)
    {
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_s));
        const QString path = QDir(dir.path()).absoluteFilePath(GetParam().target);
        const BatchResult result = RunCase("calc-l", "calc-l-reference.case", { u"--details"_s, path });
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_NE(result.err.find("The file " + QDir::toNativeSeparators(path).toStdString()
                      + " could not be written: " + GetParam().reason),
            std::string::npos)
            << result.err;
        // The results were printed before the file was tried.
        EXPECT_EQ(result.out.substr(0, 10), "L = 2.478\n");
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Targets, UnwritableDetails, ::testing::Values(
        TargetRow { "Folder", u"folder"_s, "it is a folder." },
        TargetRow { "MissingFolder", u"missing/details.csv"_s, "No such file or directory" },
        TargetRow { "FullDevice", u"/dev/full"_s, "No space left on device" }),
        RowName());
    // clang-format on

    // The temporary file beside a name of 250 characters would need a longer
    // name than the file system allows, so the write fails whoever runs it.
    TEST(BatchDetails, FailedWriteWithALongNameLeavesTheOldFileIntact)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(250, QLatin1Char('d')));
        WriteAll(path, "old details");
        const BatchResult result = RunCase("calc-l", "calc-l-reference.case", { u"--details"_s, path });
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_NE(result.err.find(path.toStdString() + " could not be written"), std::string::npos) << result.err;
        EXPECT_EQ(ReadAll(path), "old details");
    }

    // Into the working directory without an argument, else into the folder given.
    TEST(BatchTables, WrittenByteForByte)
    {
        for (const bool given : { false, true }) {
            QTemporaryDir dir;
            const BatchResult result
                = given ? RunBatch({ u"tables"_s, dir.path() }) : RunBatch({ u"tables"_s }, dir.path());
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.out, "");
            for (const char* name : { "KqTable.CSV", "KcTable.CSV" })
                EXPECT_EQ(ReadAll(dir.filePath(QString::fromLatin1(name))),
                    ReadAll(QStringLiteral(LATCAP_TEST_DATA "/") + QString::fromLatin1(name)))
                    << name;
        }
    }

    TEST(BatchTables, MissingFolderIsNamed)
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"missing"_s);
        const BatchResult result = RunBatch({ u"tables"_s, folder });
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_NE(result.err.find(QDir::toNativeSeparators(folder).toStdString() + "/KqTable.CSV could not be written"),
            std::string::npos)
            << result.err;
    }

    struct IniRow {
        std::string name;
        QByteArray ini; // empty: no Latcap.ini at all
        QByteArray equivalent; // the CSF line of a case that must print the same
        int exitCode;
    };

    class StartCsf : public ::testing::TestWithParam<IniRow> { };

    TEST_P(StartCsf, ComesFromLatcapIniInTheWorkingDirectory)
    {
        QTemporaryDir dir;
        if (!GetParam().ini.isEmpty())
            WriteAll(dir.filePath(u"Latcap.ini"_s), GetParam().ini);
        const QByteArray soil = "H = 50\nM = 20\nlayer 1 = 100, 18, 0, 30, 0.6\n";
        const QString withoutCsf = dir.filePath(u"no-csf.case"_s);
        const QString withCsf = dir.filePath(u"csf.case"_s);
        WriteAll(withoutCsf, soil);
        WriteAll(withCsf, "CSF = " + GetParam().equivalent + "\n" + soil);

        const BatchResult fromIni = RunBatch({ u"calc-l"_s, withoutCsf }, dir.path());
        const BatchResult fromCase = RunBatch({ u"calc-l"_s, withCsf }, dir.path());
        EXPECT_EQ(fromIni.exitCode, GetParam().exitCode);
        EXPECT_EQ(fromIni.out, fromCase.out);
        EXPECT_EQ(fromIni.err, fromCase.err);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, StartCsf, ::testing::Values(
        IniRow { "NoFileMeansHalf", "", "0.5", 0 },
        IniRow { "SecondLine", "[latcap]\r\n0.75\r\n", "0.75", 0 },
        IniRow { "SecondLineWithARemark", "CSF\r\n0.8 ; concrete\r\nignored\r\n", "0.8", 0 },
        IniRow { "OnlyOneLineMeansHalf", "just a heading", "0.5", 0 },
        IniRow { "EmptySecondLineIsNotEnoughData", "heading\r\n\r\n0.75\r\n", "", 2 }),
        RowName());
    // clang-format on

    TEST(StartCsf, UnreadableLatcapIniIsNamed)
    {
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir(u"Latcap.ini"_s));
        const BatchResult withoutCsf = RunBatch({ u"calc-l"_s, CaseFile("no-csf.case") }, dir.path());
        EXPECT_EQ(withoutCsf.exitCode, 64);
        EXPECT_EQ(withoutCsf.err, "The file Latcap.ini could not be read: it is a folder.\n");
        // A case that gives its CSF never looks at it.
        const BatchResult withCsf = RunBatch({ u"calc-l"_s, CaseFile("calc-l-reference.case") }, dir.path());
        EXPECT_EQ(withCsf.exitCode, 0);
    }

    struct UsageRow {
        std::string name;
        QStringList arguments;
        std::string message;
    };

    class BatchUsage : public ::testing::TestWithParam<UsageRow> { };

    TEST_P(BatchUsage, ExitsWith64AndSaysWhy)
    {
        const BatchResult result = RunBatch(GetParam().arguments);
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, BatchUsage, ::testing::Values(
        UsageRow { "NoCommand", {}, "name a command" },
        UsageRow { "UnknownCommand", { u"calc-x"_s, CaseFile("calc-l-reference.case") }, "unknown command \"calc-x\"" },
        UsageRow { "NoCase", { u"calc-l"_s }, "calc-l takes one case file" },
        UsageRow { "UnknownOption", { u"calc-l"_s, u"--fast"_s }, "Unknown option 'fast'" },
        UsageRow { "MissingCaseFile", { u"calc-m"_s, u"/nonexistent/pile.case"_s }, "The file /nonexistent/pile.case could not be read: No such file or directory" },
        UsageRow { "CaseIsAFolder", { u"calc-m"_s, QStringLiteral(LATCAP_TEST_DATA) }, "could not be read: it is a folder." },
        UsageRow { "BadCaseLine", { u"calc-l"_s, CaseFile("bad-layer.case") }, "bad-layer.case:3: layer 2 has 4 fields but needs 5" }),
        RowName());
    // clang-format on

    TEST(BatchHelp, ExplainsTheCommandsAndTheCaseFormat)
    {
        const BatchResult result = RunBatch({ u"--help"_s });
        EXPECT_EQ(result.exitCode, 0);
        for (const char* text : { "calc-l CASE", "calc-m CASE", "tables [DIR]", "--details", "layer N = bottom" })
            EXPECT_NE(result.out.find(text), std::string::npos) << text;
    }

} // namespace
} // namespace latcap::testing
