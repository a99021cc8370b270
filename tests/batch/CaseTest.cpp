#include "batch_run.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

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

        EXPECT_EQ(out.str(), Kept(name, ".out"));
        EXPECT_EQ(err.str(), Kept(name, ".err"));
        EXPECT_EQ(std::to_string(status) + "\n", Kept(name, ".exit"));
        if (!details.empty()) {
            EXPECT_EQ(ReadFile(folder.filePath(QStringLiteral("details.csv")).toStdString()), details);
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
