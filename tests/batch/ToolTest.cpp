#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

    // A field of a row of a table in tests/data with its places filled in:
    // {case} (the reference case), {cases}, {examples}, {data} and {version}.
    QString Field(const TableRow& row, std::size_t field)
    {
        return QString::fromStdString(row.fields[field])
            .replace("{case}", kCase)
            .replace("{cases}", LATCAP_TEST_DATA "/cases")
            .replace("{examples}", LATCAP_EXAMPLES)
            .replace("{data}", LATCAP_TEST_DATA)
            .replace("{version}", LATCAP_VERSION);
    }

    class Wiring : public ::testing::TestWithParam<TableRow> { };

    // The rows of tests/data/wiring.tsv.
    TEST_P(Wiring, PrintsAndWrites)
    {
        const auto field = [](std::size_t i) { return Field(GetParam(), i); };
        QTemporaryDir dir;
        const Ran ran = RunBatch(field(1).split('\n'), dir.path());
        EXPECT_EQ(ran.exitCode, field(0).toInt()) << ran.err;
        EXPECT_EQ(ran.out.substr(0, field(2).toStdString().size()), field(2).toStdString());
        EXPECT_EQ(ran.err.empty(), ran.exitCode == 0) << ran.err;
        const std::string written = field(3).isEmpty() ? "" : ReadFile(dir.filePath(field(3)).toStdString());
        // How an SVG is drawn hangs on the fonts; the drawing is tested on its own.
        if (field(4).startsWith("<")) {
            EXPECT_NE(written.find(field(4).toStdString()), std::string::npos) << written.substr(0, 400);
        } else if (!field(3).isEmpty()) {
            EXPECT_EQ(written, ReadFile(field(4).toStdString()));
        }
    }

    INSTANTIATE_TEST_SUITE_P(Tool, Wiring, ::testing::ValuesIn(TableRows("wiring.tsv", 5)), CaseName());

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

    class Report : public ::testing::TestWithParam<TableRow> { };

    // The rows of tests/data/reports.tsv.
    TEST_P(Report, HoldsItsTexts)
    {
        QStringList fields;
        for (std::size_t i = 0; i < GetParam().fields.size(); ++i)
            fields << Field(GetParam(), i);
        QStringList texts = fields.mid(3);
        texts.removeAll(QString());
        QTemporaryDir dir;
        const Ran ran = RunBatch(fields[2].split('\n') << "--report"
                                                       << "r.pdf",
            dir.path());
        EXPECT_EQ(ran.exitCode, fields[0].toInt()) << ran.err;
        const QString pdf = dir.filePath("r.pdf");
        ASSERT_EQ(QFile::exists(pdf), !texts.empty()) << ran.err;
        const std::string text = texts.empty() ? "" : PdfText(pdf, fields[1].toInt());
        for (const QString& expected : texts)
            EXPECT_NE(text.find(expected.toStdString()), std::string::npos) << expected.toStdString() << " is not in:\n"
                                                                            << text;
    }

    INSTANTIATE_TEST_SUITE_P(Tool, Report, ::testing::ValuesIn(TableRows("reports.tsv", 12)), CaseName());

    class ClosedOutput : public ::testing::TestWithParam<TableRow> { };

    // Standard output as the operating system fails it: the reason comes from
    // the write itself. The shell prints latcap-batch's exit status last. The
    // rows of tests/data/closed-output.tsv.
    TEST_P(ClosedOutput, StopsWithOneLineAndExit64)
    {
        const std::vector<std::string>& row = GetParam().fields; // script, output, errors
        QProcess process;
        process.start("/bin/sh", { "-c", QString::fromStdString(row[0]), LATCAP_BATCH, kCase });
        ASSERT_TRUE(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit);
        EXPECT_EQ(process.readAllStandardOutput().toStdString(), row[1]);
        EXPECT_EQ(process.readAllStandardError().toStdString(), row[2]);
    }

    INSTANTIATE_TEST_SUITE_P(Tool, ClosedOutput, ::testing::ValuesIn(TableRows("closed-output.tsv", 3)), CaseName());

    class OwnCase : public ::testing::TestWithParam<TableRow> { };

    // An output that is the case file being read is refused before anything
    // is computed, however it is spelt, and the case stays as it was: the
    // rows of tests/data/own-case.tsv.
    TEST_P(OwnCase, IsNeverOverwritten)
    {
        const auto field = [](std::size_t i) { return Field(GetParam(), i); };
        QTemporaryDir dir;
        const QString path = dir.filePath(field(0));
        ASSERT_TRUE(QFile::copy(kCase, path));
        if (!field(1).isEmpty()) {
            const QString link = dir.filePath(field(1).mid(3));
            ASSERT_TRUE(field(1).startsWith("->") ? QFile::link(path, link)
                                                  : ::link(path.toLocal8Bit(), link.toLocal8Bit()) == 0);
        }
        const Ran ran = RunBatch(field(2).split('\n'), dir.path());
        EXPECT_EQ(ran.exitCode, 64);
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(ran.err,
            "latcap-batch: " + field(3).replace("{dir}", dir.path()).toStdString()
                + " is the case file being read\nRun \"latcap-batch --help\" for the commands and the case format.\n");
        EXPECT_EQ(ReadFile(path.toStdString()), ReadFile(kCase.toStdString()));
    }

    INSTANTIATE_TEST_SUITE_P(Tool, OwnCase, ::testing::ValuesIn(TableRows("own-case.tsv", 4)), CaseName());

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
