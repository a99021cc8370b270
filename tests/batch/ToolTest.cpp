#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>

#include <unistd.h>

namespace latcap::testing {
namespace {

    struct Ran {
        int exitCode = -1;
        std::string out;
        std::string err;
    };

    // Runs latcap-batch in folder; "{dir}" in an argument stands for it.
    Ran RunBatch(QStringList arguments, const QString& folder)
    {
        arguments.replaceInStrings(QStringLiteral("{dir}"), folder);
        QProcess process;
        process.setWorkingDirectory(folder);
        process.start(QStringLiteral(LATCAP_BATCH), arguments);
        EXPECT_TRUE(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit);
        return { process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString() };
    }

    const QString kCase = QStringLiteral(LATCAP_TEST_DATA "/cases/calc-l-reference.case");
    const QString kExamples = QStringLiteral(LATCAP_EXAMPLES "/");

    struct WiringRow {
        std::string name;
        QStringList arguments;
        int exitCode;
        std::string outStart; // standard output begins with it
        QString written; // a file the run writes into its folder
        QString kept; // the file it must equal byte for byte
        friend void PrintTo(const WiringRow& row, std::ostream* out) { *out << row.name; }
    };

    class Wiring : public ::testing::TestWithParam<WiringRow> { };

    TEST_P(Wiring, PrintsAndWrites)
    {
        const WiringRow& row = GetParam();
        QTemporaryDir dir;
        const Ran ran = RunBatch(row.arguments, dir.path());
        EXPECT_EQ(ran.exitCode, row.exitCode) << ran.err;
        EXPECT_EQ(ran.out.substr(0, row.outStart.size()), row.outStart);
        EXPECT_EQ(ran.err.empty(), ran.exitCode == 0) << ran.err;
        if (!row.written.isEmpty()) {
            EXPECT_EQ(ReadFile(QDir(dir.path()).filePath(row.written).toStdString()), ReadFile(row.kept.toStdString()));
        }
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Tool, Wiring, ::testing::Values(
        WiringRow { "CalcL", { "calc-l", kCase }, 0, "L = 2.478\nZr = 1.979 m\nMoment = 61.42 kNm\nShear = 100.34 kN\n", {}, {} },
        WiringRow { "CalcM", { "calc-m", LATCAP_TEST_DATA "/cases/calc-m-reference.case" }, 0, "M = 101.32\n", {}, {} },
        WiringRow { "KqTableIntoTheWorkingFolder", { "tables" }, 0, "", "KqTable.CSV", LATCAP_TEST_DATA "/KqTable.CSV" },
        WiringRow { "KcTableIntoTheFolderNamed", { "tables", "{dir}/" }, 0, "", "KcTable.CSV", LATCAP_TEST_DATA "/KcTable.CSV" },
        WiringRow { "DetailsFile", { "calc-l", kCase, "--details", "{dir}/d.csv" }, 0, "L = 2.478\n", "d.csv", LATCAP_TEST_DATA "/reference-calc-l.csv" },
        WiringRow { "SvgOfSignPost", { "calc-l", kExamples + "sign-post-sand.case", "--plot", "p.svg" }, 0, "L = ", "p.svg", kExamples + "sign-post-sand.svg" },
        WiringRow { "SvgOfLightPole", { "calc-l", kExamples + "light-pole-clay-over-sand.case", "--plot", "p.svg" }, 0, "L = ", "p.svg", kExamples + "light-pole-clay-over-sand.svg" },
        WiringRow { "SvgOfLayeredSite", { "calc-l", kExamples + "layered-site-csf.case", "--plot", "p.svg" }, 0, "L = ", "p.svg", kExamples + "layered-site-csf.svg" },
        WiringRow { "Json", { "calc-l", kCase, "--json" }, 0, "{\n    \"L\": 2.4780273,\n", {}, {} },
        WiringRow { "Sweep", { "calc-l", kCase, "--vary", "H=50:50:1" }, 0, "H [kN],L [m],Zr [m],Moment [kNm],Shear [kN],Broms L [m],Status,Messages\n50,2.478,1.979,61.42,100.34,1.930,converged,\n", {}, {} },
        WiringRow { "Help", { "--help" }, 0, "Usage: ", {}, {} },
        WiringRow { "Version", { "--version" }, 0, "latcap-batch " LATCAP_VERSION "\n", {}, {} },
        WiringRow { "UsageError", { "calc-l" }, 64, "", {}, {} }),
        CaseName());
    // clang-format on

    TEST(Tool, PngDiagramHasItsSizeAndInk)
    {
        QTemporaryDir dir;
        const Ran ran = RunBatch({ "calc-l", kCase, "--plot", "pile.PNG" }, dir.path());
        EXPECT_EQ(ran.exitCode, 0) << ran.err;
        const QImage image(dir.filePath("pile.PNG"), "PNG");
        ASSERT_EQ(image.size(), QSize(2400, 1480));
        qsizetype inked = 0;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4)
                inked += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
        EXPECT_GT(inked, image.width() * image.height() / 16 / 50);
    }

    // The temporary file beside a name of 250 characters would need a longer
    // name than the file system allows, so the write fails whoever runs it.
    class FailedWrite : public ::testing::TestWithParam<const char*> { };

    TEST_P(FailedWrite, KeepsTheOldFileAndExitsWith64)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(246, QLatin1Char('d')) + ".pdf");
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old file") == 8);
        old.close();
        const Ran ran = RunBatch({ "calc-l", kCase, GetParam(), path }, dir.path());
        EXPECT_EQ(ran.exitCode, 64);
        EXPECT_NE(ran.err.find(path.toStdString() + " could not be written"), std::string::npos) << ran.err;
        EXPECT_EQ(ReadFile(path.toStdString()), "old file");
    }

    INSTANTIATE_TEST_SUITE_P(Tool, FailedWrite, ::testing::Values("--details", "--report"),
        [](const auto& row) { return std::string(row.param + 2); });

    // The text of a PDF as pdftotext lays it out, of one page or (0) all,
    // every run of blanks and line breaks made one blank.
    std::string PdfText(const QString& path, int page)
    {
        QStringList arguments { "-layout" };
        if (page > 0)
            arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
        QProcess process;
        process.start("pdftotext", arguments << path << "-");
        EXPECT_TRUE(process.waitForFinished(60000) && process.exitCode() == 0) << "pdftotext is needed";
        return QString::fromUtf8(process.readAllStandardOutput()).simplified().toStdString();
    }

    struct ReportRow {
        std::string name;
        QStringList arguments; // before --report r.pdf
        int exitCode = 0;
        int page = 0; // that holds the texts; 0 for any
        std::vector<std::string> texts; // none: no report is written
        friend void PrintTo(const ReportRow& row, std::ostream* out) { *out << row.name; }
    };

    // The blocks of tests/data/reports.txt.
    std::vector<ReportRow> ReportRows()
    {
        std::vector<ReportRow> rows;
        std::istringstream lines(ReadFile(LATCAP_TEST_DATA "/reports.txt"));
        for (std::string line; std::getline(lines, line);) {
            const std::string word = line.substr(0, line.find(' '));
            QString rest = QString::fromStdString(line.substr(std::min(line.size(), word.size() + 1)));
            rest.replace("{cases}", LATCAP_TEST_DATA "/cases")
                .replace("{examples}", LATCAP_EXAMPLES)
                .replace("{version}", LATCAP_VERSION);
            if (word == "report")
                rows.push_back({ rest.toStdString(), {}, 0, 0, {} });
            else if (word == "exit" || word == "page")
                (word == "exit" ? rows.back().exitCode : rows.back().page) = rest.toInt();
            else if (word == "arg")
                rows.back().arguments << rest;
            else if (word == "text")
                rows.back().texts.push_back(rest.toStdString());
        }
        return rows;
    }

    class Report : public ::testing::TestWithParam<ReportRow> { };

    TEST_P(Report, HoldsItsTexts)
    {
        const ReportRow& row = GetParam();
        QTemporaryDir dir;
        const Ran ran = RunBatch(QStringList(row.arguments) << "--report"
                                                            << "r.pdf",
            dir.path());
        EXPECT_EQ(ran.exitCode, row.exitCode) << ran.err;
        const QString pdf = dir.filePath("r.pdf");
        ASSERT_EQ(QFile::exists(pdf), !row.texts.empty()) << ran.err;
        const std::string text = row.texts.empty() ? "" : PdfText(pdf, row.page);
        for (const std::string& expected : row.texts)
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " is not in:\n" << text;
    }

    INSTANTIATE_TEST_SUITE_P(Tool, Report, ::testing::ValuesIn(ReportRows()), CaseName());

    struct ClosedOutputRow {
        std::string name;
        QString script; // a shell command line; "$0" is latcap-batch, "$1" the case
        std::string out;
        std::string err;
        friend void PrintTo(const ClosedOutputRow& row, std::ostream* out) { *out << row.name; }
    };

    class ClosedOutput : public ::testing::TestWithParam<ClosedOutputRow> { };

    // Standard output as the operating system fails it: the reason comes from
    // the write itself. The shell prints latcap-batch's exit status last.
    TEST_P(ClosedOutput, StopsWithOneLineAndExit64)
    {
        const ClosedOutputRow& row = GetParam();
        QProcess process;
        process.start("/bin/sh", { "-c", row.script, LATCAP_BATCH, kCase });
        ASSERT_TRUE(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit);
        EXPECT_EQ(process.readAllStandardOutput().toStdString(), row.out);
        EXPECT_EQ(process.readAllStandardError().toStdString(), row.err);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Tool, ClosedOutput, ::testing::Values(
        ClosedOutputRow { "FullDisk", R"("$0" calc-l "$1" > /dev/full; echo "exit $?" >&2)", "",
            "latcap-batch: standard output could not be written: No space left on device\nexit 64\n" },
        ClosedOutputRow { "PipeClosedWithSigpipeIgnored",
            R"(trap '' PIPE; ("$0" calc-l "$1" --vary H=1:20000:1 --jobs 1; echo "exit $?" >&2) | head -1)",
            "H [kN],L [m],Zr [m],Moment [kNm],Shear [kN],Broms L [m],Status,Messages\n",
            "latcap-batch: standard output could not be written: Broken pipe\nexit 64\n" }),
        CaseName());
    // clang-format on

    struct OwnCaseRow {
        std::string name;
        QString caseName; // the case file in the run's folder
        QString link; // a symbolic ("-> NAME") or hard ("=> NAME") link to it, or none
        QStringList arguments;
        QString given; // the option and the file as given
        friend void PrintTo(const OwnCaseRow& row, std::ostream* out) { *out << row.name; }
    };

    class OwnCase : public ::testing::TestWithParam<OwnCaseRow> { };

    // An output that is the case file being read is refused before anything
    // is computed, however it is spelt, and the case stays as it was.
    TEST_P(OwnCase, IsNeverOverwritten)
    {
        const OwnCaseRow& row = GetParam();
        QTemporaryDir dir;
        const QString path = dir.filePath(row.caseName);
        ASSERT_TRUE(QFile::copy(kCase, path));
        if (!row.link.isEmpty()) {
            const QString link = dir.filePath(row.link.mid(3));
            ASSERT_TRUE(row.link.startsWith("->") ? QFile::link(path, link)
                                                  : ::link(path.toLocal8Bit(), link.toLocal8Bit()) == 0);
        }
        const Ran ran = RunBatch(row.arguments, dir.path());
        EXPECT_EQ(ran.exitCode, 64);
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(ran.err,
            "latcap-batch: " + QString(row.given).replace("{dir}", dir.path()).toStdString()
                + " is the case file being read\nRun \"latcap-batch --help\" for the commands and the case format.\n");
        EXPECT_EQ(ReadFile(path.toStdString()), ReadFile(kCase.toStdString()));
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Tool, OwnCase, ::testing::Values(
        OwnCaseRow { "DetailsByTheSameName", "pile.case", {}, { "calc-l", "pile.case", "--details", "pile.case" },
            "--details pile.case" },
        OwnCaseRow { "DetailsByAnotherSpelling", "pile.case", {}, { "calc-m", "pile.case", "--set", "L=3", "--details",
            "./pile.case" }, "--details ./pile.case" },
        OwnCaseRow { "PlotByItsFullPath", "pile.svg", {}, { "calc-l", "pile.svg", "--plot", "{dir}/pile.svg" },
            "--plot {dir}/pile.svg" },
        OwnCaseRow { "ReportThroughASymbolicLink", "pile.pdf", "-> link.pdf", { "calc-l", "pile.pdf", "--report",
            "link.pdf" }, "--report link.pdf" },
        OwnCaseRow { "DetailsThroughAHardLink", "pile.case", "=> other.csv", { "calc-l", "{dir}/pile.case", "--json",
            "--details", "other.csv" }, "--details other.csv" },
        OwnCaseRow { "ReportOfADesignCheck", "pile.pdf", {}, { "check", "pile.pdf", "--set", "L=3", "--details", "d.csv",
            "--report", "pile.pdf" }, "--report pile.pdf" }),
        CaseName());
    // clang-format on

    TEST(Tool, UnreadableLatcapIniIsNamed)
    {
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir("Latcap.ini"));
        const Ran ran = RunBatch({ "calc-l", LATCAP_TEST_DATA "/cases/no-csf.case" }, dir.path());
        EXPECT_EQ(ran.exitCode, 64);
        EXPECT_EQ(ran.err, "The file Latcap.ini could not be read: it is a folder.\n");
    }

} // namespace
} // namespace latcap::testing
