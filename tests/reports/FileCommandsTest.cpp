#include "Coefficients.h"
#include "Commands.h"
#include "Export.h"
#include "FakePlatform.h"
#include "InputData.h"
#include "Tables.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

using testing::FakePlatform;

const QByteArray kDetailsHeader
    = "Z,Weight Above,Kq,Kc,dZ,Soil Pressure,Soil Force,CSF * Pile Shear,CSF * Pile Moment\r\n";

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TestData(const char* name)
{
    return ReadBytes(QStringLiteral(LATCAP_TEST_DATA "/") + QLatin1String(name));
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

struct IgnoreSolverReports final : SolverSink {
    void IterationProblem(SolverProblem) override {}
};

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    // Lets the temporary folder be removed after a read-only case.
    void TearDown() override { QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QStringList titles() const
    {
        QStringList found;
        for (const FakePlatform::Message& m : platform.messages)
            found.append(m.title);
        return found;
    }

    QTemporaryDir dir;
    FakePlatform platform;
};

TEST_F(FileCommandsTest, ExportOfReferenceCalcLGivesTheKeptFile)
{
    InputTexts texts;
    texts.csf = "1";
    texts.h = "50";
    texts.m = "20";
    texts.layers[0] = {"0", "100", "18", "0", "30", "0.6"};
    AnalysisState state;
    state.NoLayers = 1;
    ASSERT_TRUE(GatherInputs(texts, state));
    IgnoreSolverReports sink;
    RunCalcL(state, sink);
    platform.fileNames.enqueue(path("reference"));

    EXPECT_TRUE(ExportCalcDetails(platform, nullptr, state));

    EXPECT_EQ(ReadBytes(path("reference")), TestData("reference-calc-l.csv"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"reference"_s})
        << "a name without extension is used as typed";
    EXPECT_TRUE(platform.messages.isEmpty());
    ASSERT_EQ(platform.saveDialogs.size(), 1);
    EXPECT_EQ(platform.saveDialogs[0].title, u"Save Report"_s);
    EXPECT_EQ(platform.saveDialogs[0].filter, u"CSV files(*.csv)|*.csv|All files (*.*)|*.*"_s);
    EXPECT_TRUE(platform.saveDialogs[0].initialName.isEmpty());
}

// An existing, longer file under the answers given in the two dialogs; the
// export of an empty slice table writes the header alone.
struct ReplaceCase {
    const char* name;
    bool chooseFile;    // false: Cancel in the save dialog
    bool answerReplace; // the answer to "Replace Existing File ?"
};

template <typename Case> std::string CaseName(const ::testing::TestParamInfo<Case>& param)
{
    return param.param.name;
}

class ExportReplaceTest : public FileCommandsTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ExportReplaceTest, ExistingFileIsReplacedOnlyAfterOk)
{
    const ReplaceCase& c = GetParam();
    const QByteArray old = QByteArray("old report\r\n").repeated(500);
    WriteBytes(path("old.csv"), old);
    if (c.chooseFile)
        platform.fileNames.enqueue(path("old.csv"));
    platform.answers.enqueue(c.answerReplace ? Platform::Answer::Ok : Platform::Answer::Cancel);
    const bool replaced = c.chooseFile && c.answerReplace;

    EXPECT_EQ(ExportCalcDetails(platform, nullptr, AnalysisState{}), replaced);

    EXPECT_EQ(ReadBytes(path("old.csv")), replaced ? kDetailsHeader : old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"old.csv"_s});
    EXPECT_EQ(titles(), c.chooseFile ? QStringList{u"Warning"_s} : QStringList{});
    if (c.chooseFile) {
        EXPECT_EQ(platform.messages[0].text, u"Replace Existing File ?"_s);
        EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::OkCancel);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, ExportReplaceTest, ::testing::Values(
    ReplaceCase{"CancelInTheDialogShowsNothing", false, true},
    ReplaceCase{"CancelInTheQuestionKeepsTheFile", true, false},
    ReplaceCase{"OkReplacesTheWholeFile", true, true}),
    CaseName<ReplaceCase>);
// clang-format on

// A device that is always full, made in the test folder where the rights
// allow it, so that a faulty writer could never replace the system's own.
void MakeFullDevice(const QDir& dir)
{
    const QByteArray path = QFile::encodeName(dir.filePath(u"full"_s));
    if (mknod(path.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
        ASSERT_EQ(symlink("/dev/full", path.constData()), 0);
    }
}

// Targets that cannot be written: one message names the file, and nothing
// that was there is lost.
struct UnwritableCase {
    const char* name;
    const char* target; // in the test folder
    void (*prepare)(const QDir& dir);
};

class ExportUnwritableTest : public FileCommandsTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(ExportUnwritableTest, ReportsTheFileAndLosesNothing)
{
    const UnwritableCase& c = GetParam();
    const QDir folder(dir.path());
    c.prepare(folder);
    const QString target = folder.absoluteFilePath(QLatin1String(c.target));
    if (folder.exists(u"locked"_s)
        && access(QFile::encodeName(folder.filePath(u"locked"_s)).constData(), W_OK) == 0)
        GTEST_SKIP() << "a read-only folder is writable for this user";
    const bool wasFile = QFileInfo(target).isFile();
    const QByteArray kept = wasFile ? ReadBytes(target) : QByteArray();
    platform.fileNames.enqueue(target);

    EXPECT_FALSE(ExportCalcDetails(platform, nullptr, AnalysisState{}));

    ASSERT_EQ(titles().count(u"Error"_s), 1);
    EXPECT_EQ(platform.messages.last().buttons, Platform::Buttons::Ok);
    EXPECT_TRUE(platform.messages.last().text.contains(QDir::toNativeSeparators(target)))
        << platform.messages.last().text.toStdString();
    EXPECT_EQ(QFileInfo(target).isFile(), wasFile) << "something else was put in place of the target";
    if (wasFile) {
        EXPECT_EQ(ReadBytes(target), kept);
    }
}

// A folder whose file cannot be replaced because the folder is read-only.
void LockFolderWithAFile(const QDir& d)
{
    d.mkdir(u"locked"_s);
    WriteBytes(d.filePath(u"locked/kept.csv"_s), "kept\r\n");
    QFile::setPermissions(d.filePath(u"locked"_s), QFile::ReadOwner | QFile::ExeOwner);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Targets, ExportUnwritableTest, ::testing::Values(
    UnwritableCase{"PathIsAFolder", "report.csv", [](const QDir& d) { d.mkdir(u"report.csv"_s); }},
    UnwritableCase{"FolderDoesNotExist", "missing/report.csv", [](const QDir&) {}},
    UnwritableCase{"ParentIsAFile", "blocker/report.csv", [](const QDir& d) { WriteBytes(d.filePath(u"blocker"_s), "a file"); }},
    UnwritableCase{"ReadOnlyFolderKeepsItsFile", "locked/kept.csv", LockFolderWithAFile},
    UnwritableCase{"FullDisk", "full", MakeFullDevice}),
    CaseName<UnwritableCase>);
// clang-format on

TEST_F(FileCommandsTest, TablesMatchTheKeptFilesOnEveryRun)
{
    AnalysisState state;
    FillKqTable(state);
    FillKcTable(state);
    WriteBytes(path("KqTable.CSV"), QByteArray(20000, 'x'));
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(SaveCoefficientTables(platform, nullptr, state, dir.path()));
        EXPECT_EQ(ReadBytes(path("KqTable.CSV")), TestData("KqTable.CSV")) << run;
        EXPECT_EQ(ReadBytes(path("KcTable.CSV")), TestData("KcTable.CSV")) << run;
    }
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool inWorkingDirectory = SaveCoefficientTables(platform, nullptr, state, QString());
    QDir::setCurrent(before);
    EXPECT_TRUE(inWorkingDirectory);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(FileCommandsTest, FailedTableIsReportedAndStopsTheRest)
{
    const AnalysisState state;
    WriteBytes(path("blocker"), "a file, not a folder");
    EXPECT_FALSE(SaveCoefficientTables(platform, nullptr, state, path("blocker")));
    ASSERT_EQ(titles(), QStringList{u"Error"_s});
    EXPECT_TRUE(platform.messages[0].text.contains(u"KqTable.CSV"_s));
    EXPECT_FALSE(platform.messages[0].text.contains(u"KcTable.CSV"_s));

    platform.messages.clear();
    QDir(dir.path()).mkdir(u"KcTable.CSV"_s);
    EXPECT_FALSE(SaveCoefficientTables(platform, nullptr, state, dir.path()));
    EXPECT_TRUE(QFileInfo(path("KqTable.CSV")).isFile());
    ASSERT_EQ(titles(), QStringList{u"Error"_s});
    EXPECT_TRUE(platform.messages[0].text.contains(QDir::toNativeSeparators(path("KcTable.CSV"))));
}

} // namespace
} // namespace latcap
