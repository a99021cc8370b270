#include "Commands.h"
#include "Export.h"
#include "FakePlatform.h"
#include "FileSizeLimit.h"
#include "InputData.h"
#include "SaveDialog.h"
#include "Tables.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

    using testing::FakePlatform;

    struct SaveCase {
        std::string name;
        QStringList fields; // as in save-cases.txt, after the name
    };

    void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

    std::vector<SaveCase> ReadCases()
    {
        std::vector<SaveCase> cases;
        for (const QString& line : QString::fromStdString(testing::ReadFile(LATCAP_SAVE_CASES)).split(u'\n')) {
            QStringList fields = line.split(u'|');
            for (QString& field : fields)
                field = field.trimmed();
            if (!line.trimmed().isEmpty() && !line.startsWith(u'#'))
                cases.push_back({ fields.takeFirst().toStdString(), fields });
        }
        return cases;
    }

    class SaveTest : public ::testing::TestWithParam<SaveCase> { };

    TEST_P(SaveTest, AsksSavesAndReportsOnce)
    {
        const QStringList& c = GetParam().fields;
        ASSERT_EQ(c.size(), 7) << "a case line has eight fields";
        const QString &typed = c[0], &before = c[1], &after = c[5];
        QTemporaryDir dir;
        const QString target = typed.isEmpty() ? QString() : dir.filePath(typed);
        const QByteArray native = QFile::encodeName(target), locked = QFile::encodeName(dir.filePath(u"locked"_s));
        // Devices are made in the test folder, so that a save that wrongly replaced
        // one could never replace the system's own.
        const bool device = before == u"null" || before == u"full";
        ASSERT_TRUE(!device || mknod(native, S_IFCHR | 0666, makedev(1, before == u"full" ? 7 : 3)) == 0
            || symlink(before == u"full" ? "/dev/full" : "/dev/null", native) == 0);
        if (before == u"folder" || before == u"locked")
            QDir(dir.path()).mkdir(before == u"folder" ? typed : u"locked"_s);
        if (before == u"file" || before == u"locked" || before == u"limited")
            std::ofstream(native, std::ios::binary) << "old report\r\n";
        if (before == u"locked" && chmod(locked, 0500) == 0 && access(locked, W_OK) == 0)
            GTEST_SKIP() << "a read-only folder is writable for this user";
        FakePlatform platform;
        platform.fileNames.enqueue(target);
        platform.answers.enqueue(c[2] == u"OK" ? Platform::Answer::Ok : Platform::Answer::Cancel);
        const DeviceWriter fails = [](QIODevice& file, QString& error) {
            file.write("half");
            error = u"the page could not be drawn"_s;
            return false;
        };
        const SaveRequest request { u"Save Page"_s, u"PDF files(*.pdf)|*.pdf"_s, u"first.pdf"_s };

        {
            // A disk that fills up while the file is written: nothing past its first bytes fits.
            std::optional<testing::FileSizeLimit> full;
            if (before == u"limited")
                full.emplace(2);
            EXPECT_EQ(SaveThroughDialog(platform, nullptr, request, c[3] == u"yes" ? fails : BytesWriter("new\r\n")),
                c[4] == u"yes");
        }

        EXPECT_EQ(platform.saveDialogs.value(0).initialName, request.initialName);
        QStringList shown;
        for (const FakePlatform::Message& m : platform.messages)
            shown.append(m.title + u": "_s + m.text
                + (m.buttons == Platform::Buttons::OkCancel ? u" [OK/Cancel]"_s : u" [OK]"_s));
        EXPECT_EQ(shown.join(u" / ").toStdString(), QString(c[6]).replace(u"%1"_s, target).toStdString());
        EXPECT_EQ(QFileInfo(target).isFile(), after != u"none");
        if (after != u"none") {
            EXPECT_EQ(testing::ReadFile(native.toStdString()), after == u"new" ? "new\r\n" : "old report\r\n");
        }
        // No temporary file is left behind.
        QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        left.removeOne(QFileInfo(target).fileName());
        left.removeOne(u"locked"_s);
        EXPECT_EQ(left.join(u' '), QString());
        chmod(locked, 0700);
    }

    INSTANTIATE_TEST_SUITE_P(Cases, SaveTest, ::testing::ValuesIn(ReadCases()), testing::CaseName());

    TEST(ReportCommandsTest, WriteTheKeptFilesThroughTheSaveFlow)
    {
        AnalysisState state;
        state.NoLayers = 1;
        ASSERT_TRUE(
            GatherInputs({ "1", "50", "20", "", 1, { LayerTexts { "0", "100", "18", "0", "30", "0.6" } }, {}, {}, {} },
                state, Command::CalcL));
        testing::RecordingSink sink;
        RunCalcL(state, sink);
        QTemporaryDir dir;
        FakePlatform platform;
        platform.fileNames.enqueue(dir.filePath(u"details"_s));

        EXPECT_TRUE(ExportCalcDetails(platform, nullptr, state));
        EXPECT_TRUE(SaveCoefficientTables(platform, nullptr, dir.path()));

        const FakePlatform::SaveDialog& asked = platform.saveDialogs.value(0);
        EXPECT_EQ(
            asked.title + asked.filter + asked.initialName, u"Save ReportCSV files(*.csv)|*.csv|All files (*.*)|*.*"_s);
        for (const auto& [written, kept] : { std::pair { "details", "reference-calc-l.csv" },
                 { "KqTable.CSV", "KqTable.CSV" }, { "KcTable.CSV", "KcTable.CSV" } })
            EXPECT_EQ(testing::ReadFile(dir.filePath(QLatin1String(written)).toStdString()),
                testing::ReadFile(testing::DataPath(kept)));

        // A table that cannot be written is reported, and the next one is not tried.
        QDir(dir.path()).mkpath(u"blocked/KqTable.CSV"_s);
        EXPECT_FALSE(SaveCoefficientTables(platform, nullptr, dir.filePath(u"blocked"_s)));
        EXPECT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages.value(0).title, u"Error"_s);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"blocked/KcTable.CSV"_s)));
    }

} // namespace
} // namespace latcap
