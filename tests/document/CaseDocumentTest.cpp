#include "CaseDocument.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace latcap::testing {
namespace {

    using Field = CaseDocument::Field;

    QString Text(const CaseDocument& document, Field field, int layer = 0) { return document.Text(field, layer); }

    // A document whose last calculation is that of the reference sand.
    std::unique_ptr<CaseDocument> Calculated()
    {
        auto document = std::make_unique<CaseDocument>();
        for (const auto& [field, text] : { std::pair { Field::Csf, "1" }, { Field::H, "50" }, { Field::M, "20" },
                 { Field::Gama, "18" }, { Field::C, "0" }, { Field::Phi, "30" }, { Field::D, "0.6" } })
            document->SetText(field, 0, QString::fromLatin1(text));
        document->SetLastCalculation(
            std::make_shared<const Calculation>(Calculate(Command::CalcL, document->Inputs())));
        return document;
    }

    struct EditRow {
        std::string name;
        std::function<void(CaseDocument&)> edit;
        bool clearsResults;
        friend void PrintTo(const EditRow& row, std::ostream* out) { *out << row.name; }
    };

    class Edit : public ::testing::TestWithParam<EditRow> { };

    // Every change of an input takes the last results away; the title and
    // the job details are no inputs. Each marks the case changed.
    TEST_P(Edit, ClearsResultsOnlyForAnInput)
    {
        const auto document = Calculated();
        ASSERT_TRUE(document->LastCalculation() && document->LastCalculation()->HasResults());
        int cleared = 0;
        QObject::connect(document.get(), &CaseDocument::InputsChanged, [&cleared] { ++cleared; });
        const bool modifiedBefore = document->IsModified();
        document->Saved(QString());
        ASSERT_FALSE(document->IsModified()) << modifiedBefore;
        GetParam().edit(*document);
        EXPECT_EQ(document->LastCalculation() == nullptr, GetParam().clearsResults);
        EXPECT_EQ(cleared, GetParam().clearsResults ? 1 : 0);
        EXPECT_TRUE(document->IsModified());
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Document, Edit, ::testing::Values(
        EditRow { "Csf", [](CaseDocument& d) { d.SetText(Field::Csf, 0, "0.9"); }, true },
        EditRow { "H", [](CaseDocument& d) { d.SetText(Field::H, 0, "60"); }, true },
        EditRow { "M", [](CaseDocument& d) { d.SetText(Field::M, 0, "25"); }, true },
        EditRow { "L", [](CaseDocument& d) { d.SetText(Field::L, 0, "4"); }, true },
        EditRow { "UnitWeight", [](CaseDocument& d) { d.SetText(Field::Gama, 0, "17"); }, true },
        EditRow { "Cohesion", [](CaseDocument& d) { d.SetText(Field::C, 0, "2"); }, true },
        EditRow { "FrictionAngle", [](CaseDocument& d) { d.SetText(Field::Phi, 0, "28"); }, true },
        EditRow { "Width", [](CaseDocument& d) { d.SetText(Field::D, 0, "0.5"); }, true },
        EditRow { "HiddenRow", [](CaseDocument& d) { d.SetText(Field::D, 3, "0.5"); }, true },
        EditRow { "SameItemChosenAgain", [](CaseDocument& d) { d.InputChosen(); }, true },
        EditRow { "SameLayerCountAgain", [](CaseDocument& d) { d.SetLayerCount(1); }, true },
        EditRow { "CopyDown", [](CaseDocument& d) { d.CopyDown(Field::C); }, true },
        EditRow { "Title", [](CaseDocument& d) { d.SetText(Field::Title, 0, "Pile 7"); }, false },
        EditRow { "JobDetails", [](CaseDocument& d) { d.SetJob({ "Main Street", "2026-114", {}, {}, {}, "B" }); }, false }),
        CaseName());
    // clang-format on

    TEST(Document, EveryTopIsTheBottomAboveAndTheDeepestEndsAt100)
    {
        CaseDocument document;
        EXPECT_EQ(Text(document, Field::To, 0), "100");
        document.SetLayerCount(5);
        for (int i = 0; i < 4; ++i)
            document.SetText(Field::To, i, QString::number(2.5 * (i + 1)));
        document.SetText(Field::To, 4, "9"); // the deepest is fixed
        EXPECT_EQ(document.Top(0), "0");
        EXPECT_EQ(document.Top(3), "7.5");
        EXPECT_EQ(Text(document, Field::To, 4), "100");
        EXPECT_EQ(document.Inputs().layers[4].from, "10");
        EXPECT_EQ(document.Inputs().layers[4].to, "100");
    }

    TEST(Document, FewerLayersFixTheNewDeepestBottomAndMoreOpenItEmpty)
    {
        CaseDocument document;
        document.SetLayerCount(3);
        EXPECT_EQ(Text(document, Field::To, 0), "");
        document.SetText(Field::To, 0, "2.5");
        document.SetText(Field::To, 1, "6");
        document.SetText(Field::Gama, 2, "19");
        document.SetLayerCount(2);
        EXPECT_EQ(Text(document, Field::To, 1), "100");
        document.SetLayerCount(3);
        EXPECT_EQ(Text(document, Field::To, 0), "2.5");
        EXPECT_EQ(Text(document, Field::To, 1), "");
        EXPECT_EQ(Text(document, Field::Gama, 2), "19");
    }

    TEST(Document, CopyDownReachesHiddenRowsAndANoChangeKeepsTheResults)
    {
        const auto document = Calculated();
        document->CopyDown(Field::Phi);
        EXPECT_EQ(Text(*document, Field::Phi, 4), "30");
        document->SetLastCalculation(std::make_shared<const Calculation>());
        document->CopyDown(Field::Phi);
        EXPECT_NE(document->LastCalculation(), nullptr);
    }

    class Files : public ::testing::Test {
    protected:
        QString Write(const QByteArray& name, const QByteArray& content)
        {
            const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
            std::ofstream(path.constData(), std::ios::binary) << content.toStdString();
            return QDir(dir.path()).filePath(QFile::decodeName(name));
        }
        QTemporaryDir dir;
        CaseDocument document;
    };

    // What no box shows (layer lines beyond the count, the deepest bottom as
    // written) is written back as read; the results as a comment.
    TEST_F(Files, SaveKeepsWhatTheFileHeldThatNoBoxShows)
    {
        QString fault;
        ASSERT_TRUE(document.Load(
            Write("kept.case", "layers = 1\nlayer 1 = 1.0, 18, 0, 30, 0.6\nlayer 3 = 3, 19, 5, 25, 0.5\n"), fault))
            << fault.toStdString();
        EXPECT_EQ(Text(document, Field::To, 0), "100");
        document.SetText(Field::H, 0, "70");
        EXPECT_EQ(document.FileText().toStdString(),
            "title =\nCSF = 0.5\nH = 70\nM =\nL =\nlayers = 1\n"
            "# layer N = bottom [m], unit weight [kN/m3], cohesion [kPa], friction angle [deg], width [m]\n"
            "layer 1 = 1.0, 18, 0, 30, 0.6\nlayer 3 = 3, 19, 5, 25, 0.5\n");
    }

    TEST_F(Files, AFileThatIsNoCaseLeavesTheDocumentAsItWas)
    {
        document.SetText(Field::H, 0, "9");
        QString fault;
        const QString bad = Write("bad.case", "H = 50\nwidth = 3\n");
        EXPECT_FALSE(document.Load(bad, fault));
        EXPECT_EQ(fault, QDir::toNativeSeparators(bad) + ":2: unknown key \"width\"");
        EXPECT_EQ(Text(document, Field::H), "9");
        EXPECT_TRUE(document.Path().isEmpty());
        EXPECT_FALSE(document.Load(QDir(dir.path()).filePath("missing.case"), fault));
        EXPECT_TRUE(fault.endsWith(": No such file or directory")) << fault.toStdString();
    }

    TEST_F(Files, ANameInBytesThatAreNotUtf8Opens)
    {
        Write("bad\xffname.case", "H = 61\n");
        QString fault;
        EXPECT_TRUE(document.Load(QDir(dir.path()).filePath(QString::fromUtf8("bad\xef\xbf\xbdname.case")), fault))
            << fault.toStdString();
        EXPECT_EQ(Text(document, Field::H), "61");
    }

    // Where the CSF came from is told by what happened, not by its text.
    TEST_F(Files, TheCsfComesFromLatcapIniTheFileOrTyping)
    {
        const QString previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        Write("Latcap.ini", "settings\r\n0.75\r\n");
        CaseDocument started;
        EXPECT_EQ(started.ReadSettings(), QString());
        QDir::setCurrent(previous);
        EXPECT_EQ(Text(started, Field::Csf), "0.75");
        EXPECT_EQ(started.CsfSourceText(), "from Latcap.ini");
        QString fault;
        ASSERT_TRUE(started.Load(Write("csf.case", "CSF = 0.75\n"), fault));
        EXPECT_EQ(started.CsfSourceText(), "from the CSF box");
        ASSERT_TRUE(started.Load(Write("none.case", "H = 1\n"), fault));
        EXPECT_EQ(Text(started, Field::Csf), "0.75");
        EXPECT_EQ(started.CsfSourceText(), "from Latcap.ini");
        started.SetText(Field::Csf, 0, "0.8");
        started.SetText(Field::Csf, 0, "0.75");
        EXPECT_EQ(started.CsfSourceText(), "from the CSF box");
        EXPECT_EQ(started.ReportFileName(), "none.pdf");
    }

} // namespace
} // namespace latcap::testing
