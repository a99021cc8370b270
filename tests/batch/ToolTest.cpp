#include "TestSupport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        WiringRow { "Sweep", { "calc-l", kCase, "--vary", "H=50:50:1" }, 0, "H [kN],L [m],Zr [m],Moment [kNm],Shear [kN],Status,Messages\n50,2.478,1.979,61.42,100.34,converged,\n", {}, {} },
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
    TEST(Tool, FailedWriteKeepsTheOldFileAndExitsWith64)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(250, QLatin1Char('d')));
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old details") == 11);
        old.close();
        const Ran ran = RunBatch({ "calc-l", kCase, "--details", path }, dir.path());
        EXPECT_EQ(ran.exitCode, 64);
        EXPECT_NE(ran.err.find(path.toStdString() + " could not be written"), std::string::npos) << ran.err;
        EXPECT_EQ(ReadFile(path.toStdString()), "old details");
    }

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
