#include "Coefficients.h"
#include "Commands.h"
#include "Export.h"
#include "FakePlatform.h"
#include "InputData.h"
#include "SaveDialog.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

    using testing::FakePlatform;

    const char* const kOld = "old report\r\n";

    // What the target is before the save: nothing, a file holding kOld, a folder,
    // a device taking every write or a full one (both made in the test folder, so
    // that a save that wrongly replaced one could never replace the system's own),
    // or a file in a read-only folder.
    enum class Before { Nothing, OldFile, Folder, NullDevice, FullDevice, LockedFile };

    struct SaveCase {
        const char* name;
        const char* typed; // the answer of the save dialog, in the test folder; empty: Cancel
        Before before;
        Platform::Answer replace; // the answer to the replace question
        bool writerFails;
        bool saved;
        const char* titles; // of the messages shown, in order
        const char* reason; // at the end of the error message
        const char* after; // what the target holds afterwards; null when it is no file
    };

    class SaveTest : public ::testing::TestWithParam<SaveCase> { };

    TEST_P(SaveTest, AsksSavesAndReportsOnce)
    {
        const SaveCase& c = GetParam();
        QTemporaryDir dir;
        const QString target = *c.typed ? dir.filePath(QLatin1String(c.typed)) : QString();
        const QByteArray native = QFile::encodeName(target);
        if (c.before == Before::LockedFile)
            QDir(dir.path()).mkdir(u"locked"_s);
        if (c.before == Before::OldFile || c.before == Before::LockedFile)
            std::ofstream(native, std::ios::binary) << kOld;
        if (c.before == Before::Folder)
            QDir(dir.path()).mkdir(target);
        const bool full = c.before == Before::FullDevice;
        ASSERT_TRUE((c.before != Before::NullDevice && !full)
            || mknod(native, S_IFCHR | 0666, makedev(1, full ? 7 : 3)) == 0
            || symlink(full ? "/dev/full" : "/dev/null", native) == 0);
        const QByteArray locked = QFile::encodeName(dir.filePath(u"locked"_s));
        if (c.before == Before::LockedFile && chmod(locked, 0500) == 0 && access(locked, W_OK) == 0)
            GTEST_SKIP() << "a read-only folder is writable for this user";
        FakePlatform platform;
        platform.fileNames.enqueue(target);
        platform.answers.enqueue(c.replace);
        const DeviceWriter fails = [](QIODevice& device, QString& error) {
            device.write("half");
            error = u"the page could not be drawn"_s;
            return false;
        };
        const SaveRequest request { u"Save Page"_s, u"PDF files(*.pdf)|*.pdf"_s, u"first.pdf"_s };

        EXPECT_EQ(
            SaveThroughDialog(platform, nullptr, request, c.writerFails ? fails : BytesWriter("new\r\n")), c.saved);

        const FakePlatform::SaveDialog& asked = platform.saveDialogs.value(0);
        EXPECT_EQ(QStringList({ asked.title, asked.filter, asked.initialName }),
            QStringList({ request.title, request.filter, request.initialName }));
        ASSERT_EQ(platform.messageTitles().join(u','), QLatin1String(c.titles));
        for (const FakePlatform::Message& m : platform.messages) {
            const bool question = m.title == u"Warning"_s;
            EXPECT_EQ(m.buttons, question ? Platform::Buttons::OkCancel : Platform::Buttons::Ok);
            EXPECT_EQ(m.text,
                question ? u"Replace Existing File ?"_s
                         : u"The file %1 could not be written: %2."_s.arg(target, QLatin1String(c.reason)));
        }
        EXPECT_EQ(QFileInfo(target).isFile(), c.after != nullptr);
        if (c.after) {
            EXPECT_EQ(testing::ReadFile(native.toStdString()), c.after);
        }
        chmod(locked, 0700);
    }

    const auto kOk = Platform::Answer::Ok;
    const auto kCancel = Platform::Answer::Cancel;

    // clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, SaveTest, ::testing::Values(
    SaveCase{"CancelInTheDialogWritesAndShowsNothing", "", Before::Nothing, kOk, false, false, "", "", nullptr},
    SaveCase{"NameWithoutExtensionIsUsedAsTyped", "report", Before::Nothing, kOk, false, true, "", "", "new\r\n"},
    SaveCase{"CancelInTheQuestionKeepsTheFile", "old.csv", Before::OldFile, kCancel, false, false, "Warning", "", kOld},
    SaveCase{"OkReplacesTheWholeFile", "old.csv", Before::OldFile, kOk, false, true, "Warning", "", "new\r\n"},
    SaveCase{"DeviceThatTakesTheWriteIsASuccess", "null", Before::NullDevice, kOk, false, true, "", "", nullptr},
    SaveCase{"FullDisk", "full", Before::FullDevice, kOk, false, false, "Error", "No space left on device", nullptr},
    SaveCase{"TargetIsAFolder", "report.csv", Before::Folder, kOk, false, false, "Error", "it is a folder", nullptr},
    SaveCase{"FolderDoesNotExist", "missing/report.csv", Before::Nothing, kOk, false, false, "Error", "No such file or directory", nullptr},
    SaveCase{"ReadOnlyFolderKeepsItsFile", "locked/old.csv", Before::LockedFile, kOk, false, false, "Warning,Error", "Permission denied", kOld},
    SaveCase{"FailedWriterKeepsTheOldFile", "old.csv", Before::OldFile, kOk, true, false, "Warning,Error", "the page could not be drawn", kOld}),
    testing::CaseName());
    // clang-format on

    TEST(ReportCommandsTest, WriteTheKeptFilesThroughTheSaveFlow)
    {
        AnalysisState state;
        state.NoLayers = 1;
        ASSERT_TRUE(
            GatherInputs({ "1", "50", "20", "", { LayerTexts { "0", "100", "18", "0", "30", "0.6" } } }, state));
        testing::RecordingSink sink;
        RunCalcL(state, sink);
        FillKqTable(state);
        FillKcTable(state);
        QTemporaryDir dir;
        FakePlatform platform;
        platform.fileNames.enqueue(dir.filePath(u"details"_s));

        EXPECT_TRUE(ExportCalcDetails(platform, nullptr, state));
        EXPECT_TRUE(SaveCoefficientTables(platform, nullptr, state, dir.path()));

        const FakePlatform::SaveDialog& asked = platform.saveDialogs.value(0);
        EXPECT_EQ(
            asked.title + asked.filter + asked.initialName, u"Save ReportCSV files(*.csv)|*.csv|All files (*.*)|*.*"_s);
        for (const auto& [written, kept] : { std::pair { "details", "reference-calc-l.csv" },
                 { "KqTable.CSV", "KqTable.CSV" }, { "KcTable.CSV", "KcTable.CSV" } })
            EXPECT_EQ(testing::ReadFile(dir.filePath(QLatin1String(written)).toStdString()),
                testing::ReadFile(testing::DataPath(kept)));

        // A table that cannot be written is reported, and the next one is not tried.
        QDir(dir.path()).mkpath(u"blocked/KqTable.CSV"_s);
        EXPECT_FALSE(SaveCoefficientTables(platform, nullptr, state, dir.filePath(u"blocked"_s)));
        EXPECT_EQ(platform.messageTitles(), QStringList { u"Error"_s });
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"blocked/KcTable.CSV"_s)));
    }

} // namespace
} // namespace latcap
