#include "batch_run.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sstream>

#include <sys/stat.h>

namespace latcap::testing {
namespace {

    namespace fs = std::filesystem;

    const fs::path kCases = DataPath("cases");

    // Every run kept in the cases folder: NAME.args holds its command line,
    // one argument a line. It runs in a folder holding every case file and, from
    // NAME.ini, Latcap.ini. Beside it: the exit status (NAME.exit), standard output
    // and error (NAME.out, NAME.err; empty when missing) and, where the run writes
    // one, the details file it must write to details.csv (NAME.details.csv).
    std::vector<std::string> RunNames()
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(kCases)) {
            if (entry.path().extension() == ".args")
                names.push_back(entry.path().stem().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Kept(const std::string& name, const char* extension)
    {
        return ReadFile((kCases / (name + extension)).string());
    }

    // A kept file, written only when it is there or has something to hold.
    void Keep(const std::string& name, const char* extension, const std::string& content)
    {
        const fs::path path = kCases / (name + extension);
        if (content.empty() && !fs::exists(path))
            return;
        std::ofstream(path, std::ios::binary) << content;
    }

    class KeptRun : public ::testing::TestWithParam<std::string> { };

    TEST_P(KeptRun, PrintsWritesAndEndsAsKept)
    {
        const std::string& name = GetParam();
        QTemporaryDir work;
        const QDir folder(work.path());
        for (const fs::directory_entry& entry : fs::directory_iterator(kCases)) {
            if (entry.path().extension() == ".case")
                QFile::copy(QString::fromStdString(entry.path().string()),
                    folder.filePath(QString::fromStdString(entry.path().filename().string())));
        }
        if (fs::exists(kCases / (name + ".ini")))
            QFile::copy(QString::fromStdString((kCases / (name + ".ini")).string()),
                folder.filePath(QStringLiteral("Latcap.ini")));

        QStringList arguments { QStringLiteral("latcap-batch") };
        std::istringstream lines(Kept(name, ".args"));
        for (std::string line; std::getline(lines, line);)
            arguments << QString::fromStdString(line);
        const std::string details = Kept(name, ".details.csv");
        if (!details.empty())
            arguments << QStringLiteral("--details") << QStringLiteral("details.csv");

        const QString previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(work.path()));
        std::ostringstream out;
        std::ostringstream err;
        const int status = batch::Run(arguments, out, err);
        QDir::setCurrent(previous);

        const std::string written = ReadFile(folder.filePath(QStringLiteral("details.csv")).toStdString());
        // LATCAP_UPDATE_KEPT=1 writes what the runs give as their kept files,
        // to be looked over with git diff.
        if (qEnvironmentVariableIntValue("LATCAP_UPDATE_KEPT") == 1) {
            Keep(name, ".out", out.str());
            Keep(name, ".err", err.str());
            Keep(name, ".exit", std::to_string(status) + "\n");
            if (!details.empty())
                Keep(name, ".details.csv", written);
            return;
        }
        EXPECT_EQ(out.str(), Kept(name, ".out"));
        EXPECT_EQ(err.str(), Kept(name, ".err"));
        EXPECT_EQ(std::to_string(status) + "\n", Kept(name, ".exit"));
        if (!details.empty()) {
            EXPECT_EQ(written, details);
        }
    }

    INSTANTIATE_TEST_SUITE_P(
        Cases, KeptRun, ::testing::ValuesIn(RunNames()), [](const ::testing::TestParamInfo<std::string>& row) {
            std::string name = row.param;
            std::replace(name.begin(), name.end(), '-', '_');
            return name;
        });

} // namespace
} // namespace latcap::testing

namespace latcap::testing {
namespace {

    std::string RunOut(QStringList arguments, int* status = nullptr)
    {
        arguments.prepend(QStringLiteral("latcap-batch"));
        std::ostringstream out;
        std::ostringstream err;
        const int exit = batch::Run(arguments, out, err);
        if (status)
            *status = exit;
        return out.str();
    }

    const QString kReference = QString::fromStdString(DataPath("cases/calc-l-reference.case"));

    // A study gives the same bytes however it is computed: on one thread or
    // four, whole or as shards put together, CSV or JSON.
    TEST(Study, SameOutputOnAnyThreadsAndShards)
    {
        for (const QStringList& format : { QStringList(), QStringList { QStringLiteral("--json") } }) {
            const QStringList study = QStringList { QStringLiteral("calc-l"), kReference, QStringLiteral("--vary"),
                QStringLiteral("H=10:60:10"), QStringLiteral("--vary"), QStringLiteral("M=0:20:20") }
                + format;
            const std::string one = RunOut(study + QStringList { QStringLiteral("--jobs"), QStringLiteral("1") });
            EXPECT_EQ(RunOut(study + QStringList { QStringLiteral("--jobs"), QStringLiteral("4") }), one);
            std::string joined;
            for (const char* part : { "1/4", "2/4", "3/4", "4/4" })
                joined += RunOut(study + QStringList { QStringLiteral("--shard"), QString::fromLatin1(part) });
            EXPECT_EQ(joined, one);
            if (!format.isEmpty()) {
                QJsonParseError error;
                const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(one), &error);
                EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
                EXPECT_EQ(document.array().size(), 12);
            }
        }
    }

    // Neither a file larger than 1 MB nor a pipe is read: the pipe would block.
    TEST(Study, LargeFileAndPipeAreRefusedAtOnce)
    {
        QTemporaryDir dir;
        const QString large = dir.filePath(QStringLiteral("large.case"));
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2 * 1024 * 1024, '#'));
        file.close();
        const QString pipe = dir.filePath(QStringLiteral("pipe.case"));
        ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
        for (const auto& [path, reason] : { std::pair { large, "it is larger than 1 MB (2097152 bytes)." },
                 std::pair { pipe, "it is not a regular file but a device, a pipe or a socket." } }) {
            std::ostringstream out;
            std::ostringstream err;
            EXPECT_EQ(batch::Run({ QStringLiteral("latcap-batch"), QStringLiteral("calc-l"), path }, out, err), 64);
            EXPECT_NE(err.str().find(reason), std::string::npos) << err.str();
        }
    }

} // namespace
} // namespace latcap::testing

namespace latcap::testing {
namespace {

    // Standard output on a full disk: takes `room` bytes, then every write
    // fails with ENOSPC.
    class FullDisk : public std::streambuf {
    public:
        explicit FullDisk(std::streamsize room)
            : room_(room)
        {
        }

    protected:
        std::streamsize xsputn(const char*, std::streamsize count) override
        {
            const std::streamsize fits = std::min(count, room_);
            room_ -= fits;
            if (fits < count)
                errno = ENOSPC;
            return fits;
        }
        int_type overflow(int_type c) override
        {
            const char byte = traits_type::to_char_type(c);
            return traits_type::eq_int_type(c, traits_type::eof()) || xsputn(&byte, 1) == 1 ? traits_type::not_eof(c)
                                                                                            : traits_type::eof();
        }

    private:
        std::streamsize room_;
    };

    class StandardOutput : public ::testing::TestWithParam<TableRow> { };

    // Whatever was being written, the run stops with one line and exit 64: the
    // rows of tests/data/full-disk.tsv.
    TEST_P(StandardOutput, FullDiskStopsTheRunWithOneLine)
    {
        const std::vector<std::string>& row = GetParam().fields; // bytes written before the disk is full, arguments
        FullDisk disk(std::stoi(row[0]));
        std::ostream out(&disk);
        std::ostringstream err;
        const QString arguments
            = QString::fromStdString(row[1]).replace("{case}", DataPath("cases/calc-l-reference.case").c_str());
        EXPECT_EQ(batch::Run(QStringList { QStringLiteral("latcap-batch") } + arguments.split('\n'), out, err), 64);
        EXPECT_EQ(err.str(), "latcap-batch: standard output could not be written: No space left on device\n");
    }

    INSTANTIATE_TEST_SUITE_P(Batch, StandardOutput, ::testing::ValuesIn(TableRows("full-disk.tsv", 2)), CaseName());

} // namespace
} // namespace latcap::testing
