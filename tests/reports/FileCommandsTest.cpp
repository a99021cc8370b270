#include "Coefficients.h"
#include "Commands.h"
#include "Export.h"
#include "FakePlatform.h"
#include "InputData.h"
#include "Tables.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace latcap {
namespace {

using testing::FakePlatform;

// Names a parameterised case after its `name` field.
struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& param) const
    {
        return param.param.name;
    }
};

const QByteArray kDetailsHeader
    = "Z,Weight Above,Kq,Kc,dZ,Soil Pressure,Soil Force,CSF * Pile Shear,CSF * Pile Moment\r\n";

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
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

// The state a Calc L of the worked example leaves: sand, H 50 kN, M 20 kNm.
AnalysisState ReferenceCalcL()
{
    InputTexts texts;
    texts.csf = "1";
    texts.h = "50";
    texts.m = "20";
    texts.layers[0] = {"0", "100", "18", "0", "30", "0.6"};
    AnalysisState state;
    state.NoLayers = 1;
    EXPECT_TRUE(GatherInputs(texts, state));
    struct : SolverSink {
        void IterationProblem(SolverProblem) override { ADD_FAILURE() << "the reference calculation converges"; }
    } sink;
    RunCalcL(state, sink);
    return state;
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    // Lets the temporary folder be removed after a read-only case.
    void TearDown() override { QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    FakePlatform platform;
};

TEST_F(ExportTest, ReferenceCalcLGivesTheKeptFile)
{
    const AnalysisState state = ReferenceCalcL();
    platform.fileNames.enqueue(path("reference.csv"));
    EXPECT_TRUE(ExportCalcDetails(platform, nullptr, state));
    EXPECT_EQ(ReadBytes(path("reference.csv")), TestData("reference-calc-l.csv"));
    EXPECT_TRUE(platform.messages.isEmpty());
    ASSERT_EQ(platform.saveDialogs.size(), 1);
    EXPECT_EQ(platform.saveDialogs[0].title, QStringLiteral("Save Report"));
    EXPECT_EQ(platform.saveDialogs[0].filter, QStringLiteral("CSV files(*.csv)|*.csv|All files (*.*)|*.*"));
    EXPECT_TRUE(platform.saveDialogs[0].initialName.isEmpty());
}

TEST_F(ExportTest, NoSlicesGivesOnlyTheHeader)
{
    platform.fileNames.enqueue(path("empty.csv"));
    EXPECT_TRUE(ExportCalcDetails(platform, nullptr, AnalysisState{}));
    EXPECT_EQ(ReadBytes(path("empty.csv")), kDetailsHeader);
}

TEST_F(ExportTest, NameWithoutExtensionIsUsedAsTyped)
{
    platform.fileNames.enqueue(path("report"));
    EXPECT_TRUE(ExportCalcDetails(platform, nullptr, AnalysisState{}));
    EXPECT_EQ(ReadBytes(path("report")), kDetailsHeader);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report")});
}

TEST_F(ExportTest, EveryExportStartsWithAnEmptyName)
{
    platform.fileNames.enqueue(path("first.csv"));
    ExportCalcDetails(platform, nullptr, AnalysisState{});
    ExportCalcDetails(platform, nullptr, AnalysisState{});
    ASSERT_EQ(platform.saveDialogs.size(), 2);
    EXPECT_TRUE(platform.saveDialogs[1].initialName.isEmpty());
}

// What happens to an existing file under the answers given in the dialogs.
struct ReplaceCase {
    const char* name;
    bool chooseFile;        // false: Cancel in the save dialog
    bool answerReplace;     // the answer to "Replace Existing File ?"
    bool expectQuestion;
    bool expectReplaced;
};

void PrintTo(const ReplaceCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExportReplaceTest : public ExportTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ExportReplaceTest, ExistingFileIsReplacedOnlyAfterOk)
{
    const ReplaceCase& c = GetParam();
    // Longer than the new content, so a file that was only overwritten in
    // part would show.
    const QByteArray old = QByteArray("old report\r\n").repeated(500);
    WriteBytes(path("old.csv"), old);
    if (c.chooseFile)
        platform.fileNames.enqueue(path("old.csv"));
    platform.answers.enqueue(c.answerReplace ? Platform::Answer::Ok : Platform::Answer::Cancel);

    EXPECT_EQ(ExportCalcDetails(platform, nullptr, AnalysisState{}), c.expectReplaced);

    EXPECT_EQ(ReadBytes(path("old.csv")), c.expectReplaced ? kDetailsHeader : old);
    if (c.expectQuestion) {
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0].title, QStringLiteral("Warning"));
        EXPECT_EQ(platform.messages[0].text, QStringLiteral("Replace Existing File ?"));
        EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::OkCancel);
    } else {
        EXPECT_TRUE(platform.messages.isEmpty());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.csv")});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExportReplaceTest,
    ::testing::Values(ReplaceCase{"CancelInTheDialogKeepsTheFileAndShowsNothing", false, true, false, false},
                      ReplaceCase{"CancelInTheQuestionKeepsTheFile", true, false, true, false},
                      ReplaceCase{"OkReplacesTheWholeFile", true, true, true, true}),
    CaseName());

// Targets that cannot be written: the message names the file, and nothing
// that was there is lost.
struct UnwritableCase {
    const char* name;
    const char* target; // in the test folder
    void (*prepare)(const QDir& dir);
};

void PrintTo(const UnwritableCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExportUnwritableTest : public ExportTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(ExportUnwritableTest, ReportsTheFileAndLosesNothing)
{
    const UnwritableCase& c = GetParam();
    const QDir folder(dir.path());
    c.prepare(folder);
    const QString target = folder.absoluteFilePath(QLatin1String(c.target));
    if (QLatin1String(c.name).contains(QLatin1String("ReadOnly"))
        && access(QFile::encodeName(folder.filePath(QStringLiteral("locked"))).constData(), W_OK) == 0)
        GTEST_SKIP() << "a read-only folder is writable for this user";
    const bool wasFile = QFileInfo(target).isFile();
    const QByteArray kept = ReadBytes(folder.filePath(QStringLiteral("locked/kept.csv")));
    platform.fileNames.enqueue(target);

    EXPECT_FALSE(ExportCalcDetails(platform, nullptr, ReferenceCalcL()));

    const QList<FakePlatform::Message> errors = [&] {
        QList<FakePlatform::Message> found;
        for (const FakePlatform::Message& m : platform.messages)
            if (m.title == QStringLiteral("Error"))
                found.append(m);
        return found;
    }();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].buttons, Platform::Buttons::Ok);
    EXPECT_TRUE(errors[0].text.contains(QDir::toNativeSeparators(target))) << errors[0].text.toStdString();
    EXPECT_EQ(ReadBytes(folder.filePath(QStringLiteral("locked/kept.csv"))), kept);
    EXPECT_EQ(QFileInfo(target).isFile(), wasFile) << "something else was put in place of the target";
}

void MakeFolder(const QDir& dir)
{
    dir.mkdir(QStringLiteral("report.csv"));
}
void MakeFileInsteadOfFolder(const QDir& dir)
{
    QFile file(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}
void MakeReadOnlyFolderWithFile(const QDir& dir)
{
    dir.mkdir(QStringLiteral("locked"));
    WriteBytes(dir.filePath(QStringLiteral("locked/kept.csv")), "kept\r\n");
    QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
}
// A device that is always full, made in the test folder where the rights
// allow it, so that a faulty writer could never replace the system's own.
void MakeFullDevice(const QDir& dir)
{
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("full")));
    if (mknod(path.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
        ASSERT_EQ(symlink("/dev/full", path.constData()), 0);
    }
}
void Nothing(const QDir&) {}

INSTANTIATE_TEST_SUITE_P(
    Targets, ExportUnwritableTest,
    ::testing::Values(UnwritableCase{"PathIsAFolder", "report.csv", MakeFolder},
                      UnwritableCase{"FolderDoesNotExist", "missing/report.csv", Nothing},
                      UnwritableCase{"ParentIsAFile", "blocker/report.csv", MakeFileInsteadOfFolder},
                      UnwritableCase{"ReadOnlyFolderKeepsItsFile", "locked/kept.csv", MakeReadOnlyFolderWithFile},
                      UnwritableCase{"FullDisk", "full", MakeFullDevice}),
    CaseName());

class TablesTest : public ExportTest {
protected:
    void SetUp() override
    {
        ExportTest::SetUp();
        FillKqTable(state);
        FillKcTable(state);
    }
    AnalysisState state;
};

TEST_F(TablesTest, BothFilesMatchTheKeptTables)
{
    ASSERT_TRUE(SaveCoefficientTables(platform, nullptr, state, dir.path()));
    const QByteArray kq = ReadBytes(path("KqTable.CSV"));
    EXPECT_EQ(kq, TestData("KqTable.CSV"));
    EXPECT_EQ(ReadBytes(path("KcTable.CSV")), TestData("KcTable.CSV"));
    EXPECT_TRUE(platform.messages.isEmpty());

    const QList<QByteArray> lines = kq.split('\n');
    ASSERT_EQ(lines.size(), 23); // the last line end leaves an empty tail
    EXPECT_TRUE(lines.last().isEmpty());
    for (qsizetype i = 0; i < 22; ++i) {
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
        EXPECT_EQ(lines[i].split(',').size(), 11) << i;
    }
}

TEST_F(TablesTest, SecondRunReplacesWithTheSameBytes)
{
    WriteBytes(path("KqTable.CSV"), QByteArray(20000, 'x'));
    ASSERT_TRUE(SaveCoefficientTables(platform, nullptr, state, dir.path()));
    const QByteArray kq = ReadBytes(path("KqTable.CSV"));
    const QByteArray kc = ReadBytes(path("KcTable.CSV"));
    ASSERT_TRUE(SaveCoefficientTables(platform, nullptr, state, dir.path()));
    EXPECT_EQ(ReadBytes(path("KqTable.CSV")), kq);
    EXPECT_EQ(ReadBytes(path("KcTable.CSV")), kc);
    EXPECT_EQ(kq, TestData("KqTable.CSV"));
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(TablesTest, EmptyFolderMeansTheWorkingDirectory)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool saved = SaveCoefficientTables(platform, nullptr, state, QString());
    QDir::setCurrent(before);
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadBytes(path("KqTable.CSV")), TestData("KqTable.CSV"));
    EXPECT_EQ(ReadBytes(path("KcTable.CSV")), TestData("KcTable.CSV"));
}

TEST_F(TablesTest, FailedKqTableIsReportedAndKcTableIsNotWritten)
{
    const QString folder = path("blocker");
    WriteBytes(folder, "a file, not a folder");
    EXPECT_FALSE(SaveCoefficientTables(platform, nullptr, state, folder));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("KqTable.CSV")));
    EXPECT_FALSE(platform.messages[0].text.contains(QStringLiteral("KcTable.CSV")));
}

TEST_F(TablesTest, FailedKcTableIsReportedAfterACompleteKqTable)
{
    QDir(dir.path()).mkdir(QStringLiteral("KcTable.CSV"));
    EXPECT_FALSE(SaveCoefficientTables(platform, nullptr, state, dir.path()));
    EXPECT_EQ(ReadBytes(path("KqTable.CSV")), TestData("KqTable.CSV"));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(platform.messages[0].text.contains(QDir::toNativeSeparators(path("KcTable.CSV"))));
}

} // namespace
} // namespace latcap
