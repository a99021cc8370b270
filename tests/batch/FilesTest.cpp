#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>

namespace latcap::testing {
namespace {

    struct FullDiskRow {
        std::string name;
        QStringList arguments; // "{dir}" stands for the run's folder
        QString written; // a file that is there before and must stay as it was
        friend void PrintTo(const FullDiskRow& row, std::ostream* out) { *out << row.name; }
    };

    class FullDisk : public ::testing::TestWithParam<FullDiskRow> { };

    // latcap-batch on a disk that fills up after the first bytes of a file:
    // a limit on the size of files, under which a write fails with EFBIG
    // just where one onto a full disk fails with ENOSPC.
    TEST_P(FullDisk, KeepsTheFileAndExitsWith64)
    {
        const FullDiskRow& row = GetParam();
        QTemporaryDir dir;
        const QString target = QDir(dir.path()).filePath(row.written);
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\r\n") == 5);
        old.close();
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit {};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 16;
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(QStringLiteral(LATCAP_BATCH), QStringList(row.arguments).replaceInStrings("{dir}", dir.path()));
        ASSERT_TRUE(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit);
        const std::string err = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitCode(), 64) << err;
        EXPECT_NE(err.find(target.toStdString() + " could not be written: File too large."), std::string::npos) << err;
        EXPECT_EQ(ReadFile(target.toStdString()), "old\r\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList { row.written });
    }

    const QString kCase = QStringLiteral(LATCAP_TEST_DATA "/cases/calc-l-reference.case");

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Tool, FullDisk, ::testing::Values(
        FullDiskRow { "Details", { "calc-l", kCase, "--details", "d.csv" }, "d.csv" },
        FullDiskRow { "Svg", { "calc-l", kCase, "--plot", "p.svg" }, "p.svg" },
        FullDiskRow { "Png", { "calc-l", kCase, "--plot", "p.png" }, "p.png" },
        FullDiskRow { "Report", { "calc-m", LATCAP_TEST_DATA "/cases/calc-m-reference.case", "--report", "r.pdf" }, "r.pdf" },
        FullDiskRow { "CheckReport", { "check", LATCAP_TEST_DATA "/cases/calc-m-reference.case", "--report", "r.pdf" }, "r.pdf" },
        FullDiskRow { "Tables", { "tables", "{dir}" }, "KqTable.CSV" }),
        CaseName());
    // clang-format on

    // A case file whose name is no UTF-8 is read all the same, by the bytes
    // of its name.
    TEST(Tool, ReadsACaseFileNamedInBytesThatAreNotUtf8)
    {
        QTemporaryDir dir;
        const QByteArray name = QByteArray(QFile::encodeName(dir.path())) + "/bad\xffname.case";
        QFile source(kCase);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const QByteArray content = source.readAll();
        FILE* file = std::fopen(name.constData(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(content.constData(), 1, std::size_t(content.size()), file), std::size_t(content.size()));
        std::fclose(file);
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral("/bin/sh"),
            { "-c", "exec \"$0\" calc-l \"$(printf 'bad\\377name.case')\"", QStringLiteral(LATCAP_BATCH) });
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.readAllStandardError().toStdString(), "");
        EXPECT_EQ(process.readAllStandardOutput().toStdString().substr(0, 9), "L = 2.478");
    }

} // namespace
} // namespace latcap::testing
