// Calc L and Calc M from the window: validation, the results the user reads,
// the solver messages, and the commands around them (print, export, tables,
// help, exit).

#include "Messages.h"
#include "WindowHarness.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

using latcap::testing::FakePlatform;
using latcap::testing::RowName;
using latcap::testing::WindowHarness;

namespace {

QString Str(const char* latin1) { return QString::fromLatin1(latin1); }

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

const QStringList kTopBoxes { u"txtCSF"_s, u"txtH"_s, u"txtM"_s, u"txtL"_s };
const QStringList kResults { u"lblZr"_s, u"lblMoment"_s, u"lblShear"_s };

} // namespace

class CommandsTest : public latcap::testing::WindowTestCase {
    Q_OBJECT

private Q_SLOTS:
    void referenceCases_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("inputs"); // CSF, H, M, L
        QTest::addColumn<QStringList>("shown"); // the answer, Zr, moment, shear
        // clang-format off
        QTest::newRow("Calc L, H 50, M 20") << "cmdCalcL" << QStringList { "1", "50", "20", "" } << QStringList { "2.478", "Zr = 1.979 m", "Moment = 61.42 kNm", "Shear = 100.34 kN" };
        QTest::newRow("Calc M, H 50, L 3") << "cmdCalcM" << QStringList { "1", "50", "", "3" } << QStringList { "101.32", "Zr = 2.336 m", "Moment = 142.72 kNm", "Shear = 169.01 kN" };
        QTest::newRow("Calc L with CSF 0.5") << "cmdCalcL" << QStringList { "0.5", "50", "20", "" } << QStringList { "3.302", "Zr = 2.648 m", "Moment = 76.75 kNm", "Shear = 96.03 kN" };
        QTest::newRow("Calc M, H 400 turns below the toe") << "cmdCalcM" << QStringList { "1", "400", "", "3" } << QStringList { "-841.72", "Zr = 3.015 m", "Moment = 829.66 kNm", "Shear = 399.95 kN" };
        // clang-format on
    }

    void referenceCases()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, shown);
        WindowHarness h;
        h.enterReferenceSand();
        h.fill(kTopBoxes, inputs);
        h.click(command);

        QCOMPARE(h.text(command == u"cmdCalcL"_s ? u"txtL"_s : u"txtM"_s), shown.first());
        QCOMPARE(h.texts(kResults), shown.mid(1));
        QVERIFY(h.platform.messages.isEmpty());
        QCOMPARE(h.text("lblWhat"), QString());
        QVERIFY(h.resultsShown());
    }

    void notEnoughData_data()
    {
        QTest::addColumn<QStringList>("inputs"); // CSF, H, M, L, unit weight, cohesion, angle, width
        QTest::addColumn<bool>("enough");
        // clang-format off
        QTest::newRow("complete") << QStringList { "1", "50", "20", "", "18", "0", "30", "0.6" } << true;
        QTest::newRow("no moment but a depth") << QStringList { "1", "50", "", "10", "18", "0", "30", "0.6" } << true;
        QTest::newRow("cohesion alone is enough") << QStringList { "1", "50", "20", "", "18", "5", "0", "0.6" } << true;
        QTest::newRow("moment 0 and depth 0") << QStringList { "1", "50", "0", "0", "18", "0", "30", "0.6" } << false;
        QTest::newRow("moment and depth empty") << QStringList { "1", "50", "", "", "18", "0", "30", "0.6" } << false;
        QTest::newRow("CSF 0") << QStringList { "0", "50", "20", "", "18", "0", "30", "0.6" } << false;
        QTest::newRow("width without digits") << QStringList { "1", "50", "20", "", "18", "0", "30", "wide" } << false;
        QTest::newRow("no cohesion, no friction") << QStringList { "1", "50", "20", "", "18", "0", "0", "0.6" } << false;
        QTest::newRow("several faults, one message") << QStringList { "0", "50", "", "", "18", "0", "0", "" } << false;
        QTest::newRow("typed friction angle 90") << QStringList { "1", "50", "20", "", "18", "0", "90", "0.6" } << false;
        // clang-format on
    }

    void notEnoughData()
    {
        QFETCH(QStringList, inputs);
        QFETCH(bool, enough);
        WindowHarness h;
        h.fill(
            kTopBoxes + QStringList { u"txtGama_0"_s, u"txtC_0"_s, u"selectFrictionAngle_0"_s, u"txtD_0"_s }, inputs);
        h.click(Str(inputs[3].isEmpty() ? "cmdCalcL" : "cmdCalcM"));

        QCOMPARE(h.resultsShown(), enough);
        if (enough)
            return;
        QCOMPARE(h.platform.messageTexts(), QStringList { u"Not Enough Data"_s });
        QCOMPARE(h.platform.messages.first().title, u"Error"_s);
        QCOMPARE(h.platform.messages.first().buttons, latcap::Platform::Buttons::Ok);
        QVERIFY(h.resultsCleared());
        QCOMPARE(h.text("lblWhat"), QString());
        QCOMPARE(h.texts(kTopBoxes), inputs.mid(0, 4));
    }

    void layerBottomAboveItsTopIsNotEnoughData()
    {
        WindowHarness h;
        h.choose("selectNoLayers", "3");
        for (int row = 0; row < 3; ++row)
            h.fill({ RowName("txtGama", row), RowName("selectFrictionAngle", row), RowName("txtD", row) },
                { u"18"_s, u"30"_s, u"0.6"_s });
        h.fill({ u"txtH"_s, u"txtM"_s, u"txtTo_0"_s, u"txtTo_1"_s }, { u"50"_s, u"20"_s, u"10"_s, u"5"_s });
        h.click("cmdCalcL");
        QCOMPARE(h.platform.messageTexts(), QStringList { u"Not Enough Data"_s });

        h.platform.messages.clear();
        h.type("txtTo_1", "15");
        h.click("cmdCalcL");
        QVERIFY(h.platform.messages.isEmpty());
        QVERIFY(h.resultsShown());
    }

    void everyInputChangeClearsTheResults_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed"); // empty: chosen from the list or clicked
        QTest::addColumn<QString>("chosen");
        // clang-format off
        QTest::newRow("CSF") << "txtCSF" << "0.9" << "";
        QTest::newRow("lateral load") << "txtH" << "60" << "";
        QTest::newRow("moment") << "txtM" << "25" << "";
        QTest::newRow("depth") << "txtL" << "4" << "";
        QTest::newRow("unit weight") << "txtGama_0" << "17" << "";
        QTest::newRow("cohesion") << "txtC_0" << "2" << "";
        QTest::newRow("width") << "txtD_0" << "0.5" << "";
        QTest::newRow("typed friction angle") << "selectFrictionAngle_0" << "28" << "";
        QTest::newRow("chosen friction angle") << "selectFrictionAngle_0" << "" << "25";
        QTest::newRow("same friction angle chosen again") << "selectFrictionAngle_0" << "" << "30";
        QTest::newRow("layer count") << "selectNoLayers" << "" << "2";
        QTest::newRow("same layer count again") << "selectNoLayers" << "" << "1";
        QTest::newRow("copy unit weight down") << "cmdGama" << "" << "";
        QTest::newRow("copy cohesion down") << "cmdC" << "" << "";
        QTest::newRow("copy friction angle down") << "cmdFrictionAngle" << "" << "";
        QTest::newRow("copy width down") << "cmdD" << "" << "";
        QTest::newRow("title is no input") << "Text1" << "Pile 7" << "";
        // clang-format on
    }

    void everyInputChangeClearsTheResults()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        WindowHarness h;
        h.calcReferenceDepth();
        QVERIFY(h.resultsShown());
        const QString depth = h.text("txtL");

        if (!typed.isEmpty())
            h.type(control, typed);
        else if (!chosen.isEmpty())
            h.choose(control, chosen);
        else
            h.click(control);

        const bool clears = control != u"Text1"_s;
        QCOMPARE(h.resultsCleared(), clears);
        QCOMPARE(h.resultsShown(), !clears);
        if (control != u"txtL"_s)
            QCOMPARE(h.text("txtL"), depth);
    }

    void depthBeyondFiftyMetresKeepsItsMessage()
    {
        WindowHarness h;
        h.fill({ u"txtCSF"_s, u"txtH"_s, u"txtM"_s, u"txtGama_0"_s, u"txtC_0"_s, u"txtD_0"_s },
            { u"1"_s, u"5000"_s, u"50000"_s, u"10"_s, u"0"_s, u"0.3"_s });
        h.choose("selectFrictionAngle_0", "10");
        h.click("cmdCalcL");

        QCOMPARE(h.text("txtL"), u"50.000"_s);
        QCOMPARE(h.platform.messageTexts(), QStringList { Str(latcap::text::kDepthIteration) });
        QCOMPARE(h.platform.messages.first().title, Str(latcap::text::kAppTitle));
        QCOMPARE(h.platform.messages.first().buttons, latcap::Platform::Buttons::Ok);
        // The result is shown and can be printed, but the status line says it
        // did not converge.
        QCOMPARE(h.text("lblWhat"), Str(latcap::text::kDepthIteration));
        QVERIFY(h.resultsShown());

        h.type("txtH", "10");
        QCOMPARE(h.text("lblWhat"), QString());
    }

    void calcMAfterCalcLUsesTheRoundedDepth()
    {
        WindowHarness h;
        h.calcReferenceDepth();
        QCOMPARE(h.text("txtL"), u"2.478"_s);
        QVERIFY(h.window().analysisState().LCalc != 2.478f);

        h.click("cmdCalcM");
        QCOMPARE(h.window().analysisState().L, 2.478f);
        QCOMPARE(h.text("txtL"), u"2.478"_s);
        // The rounded depth carries about the moment the depth was found for.
        QVERIFY2(qAbs(h.text("txtM").toDouble() - 20.0) < 0.5, qPrintable(h.text("txtM")));
        QVERIFY(h.resultsShown());
    }

    void arithmeticProblemShowsNoResults_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("inputs"); // CSF, H, M, L, cohesion
        QTest::addColumn<QStringList>("messages");
        using namespace latcap::text;
        // clang-format off
        QTest::newRow("Calc M with a huge CSF") << "cmdCalcM" << QStringList { "3e38", "50", "20", "3", "0" } << QStringList { Str(kMomentArithmetic) };
        QTest::newRow("Calc L with a huge moment") << "cmdCalcL" << QStringList { "3e38", "50", "3e38", "3", "0" } << QStringList { Str(kDepthArithmetic) };
        QTest::newRow("Calc L with a huge cohesion") << "cmdCalcL" << QStringList { "1", "50", "20", "3", "3e38" } << QStringList { Str(kMomentIteration), Str(kDepthIteration), Str(kDepthArithmetic) };
        // clang-format on
    }

    void arithmeticProblemShowsNoResults()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, messages);
        WindowHarness h;
        h.enterReferenceSand();
        h.fill(kTopBoxes + QStringList { u"txtC_0"_s }, inputs);
        h.click(command);

        QCOMPARE(h.platform.messageTexts(), messages);
        QCOMPARE(h.text("lblWhat"), messages.last());
        QVERIFY(h.resultsCleared());
        QCOMPARE(h.texts(kTopBoxes), inputs.mid(0, 4));
    }

    void printHidesTheCommandsOnWhite_data()
    {
        QTest::addColumn<QString>("printError");
        QTest::newRow("printed") << QString();
        QTest::newRow("printer failed") << u"No printer is installed."_s;
    }

    void printHidesTheCommandsOnWhite()
    {
        QFETCH(QString, printError);
        WindowHarness h;
        h.platform.printError = printError;
        QVERIFY(!h.button("cmdPrint")->isEnabled());
        h.calcReferenceDepth();
        h.type("Text1", "Pile 7");
        QVERIFY(h.button("cmdPrint")->isEnabled());
        const QColor background = h.window().palette().color(QPalette::Window);
        QVERIFY(background != QColor(Qt::white));
        bool restoredWhileAsking = true;
        h.platform.whileMessageShown = [&](const FakePlatform::Message&) {
            restoredWhileAsking = h.window().palette().color(QPalette::Window) == background
                && h.button("cmdPrint")->isVisible() && h.button("cmdHelp")->isVisible();
        };

        // A real click leaves the focus on the button that the printing hides.
        QApplication::setActiveWindow(&h.window());
        h.button("cmdPrint")->setFocus(Qt::MouseFocusReason);
        h.click("cmdPrint");

        QCOMPARE(h.platform.printed.size(), 1);
        const QImage page = h.platform.printed.first().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page.size(), h.window().size() * h.window().devicePixelRatio());
        auto blank = [&page](const QRect& where) {
            for (int y = where.top(); y <= where.bottom(); ++y)
                for (int x = where.left(); x <= where.right(); ++x)
                    if (page.pixel(x, y) != qRgb(255, 255, 255))
                        return false;
            return true;
        };
        for (const char* offPaper : { "cmdPrint", "cmdExport", "cmdExit", "cmdHelp" }) {
            QVERIFY2(blank(h.button(Str(offPaper))->geometry()), offPaper);
            QVERIFY2(h.button(Str(offPaper))->isVisible(), offPaper);
        }
        for (const char* onPaper : { "cmdCalcL", "cmdCalcM", "cmdGama", "lblMoment", "Text1" })
            QVERIFY2(!blank(h.find(Str(onPaper))->geometry()), onPaper);
        QVERIFY(blank(QRect(650, 380, 40, 20)));
        QVERIFY2(!h.box("Text1")->hasSelectedText(), "no box shows its text selected");

        QCOMPARE(h.window().palette().color(QPalette::Window), background);
        QVERIFY(h.resultsShown());
        QCOMPARE(QApplication::focusWidget(), h.button("cmdPrint"));
        QCOMPARE(h.platform.messages.size(), printError.isEmpty() ? 0 : 1);
        QVERIFY2(restoredWhileAsking, "the window is itself again when it says printing failed");
    }

    void doubleClickRevealsTheTablesCommand_data()
    {
        QTest::addColumn<QString>("target"); // empty: the window itself
        QTest::addColumn<QPoint>("where"); // in the target
        QTest::addColumn<bool>("reveals");
        QTest::newRow("bare window") << "" << QPoint(650, 400) << true;
        QTest::newRow("pile sketch") << "" << QPoint(370, 250) << true;
        QTest::newRow("a label") << "Lable_14" << QPoint(20, 8) << false;
        QTest::newRow("the logo") << "Image1" << QPoint(40, 80) << false;
        QTest::newRow("a text box") << "txtH" << QPoint(10, 10) << false;
        QTest::newRow("a disabled box") << "txtFrom_0" << QPoint(10, 10) << false;
    }

    void doubleClickRevealsTheTablesCommand()
    {
        QFETCH(QString, target);
        QFETCH(QPoint, where);
        QFETCH(bool, reveals);
        WindowHarness h;
        if (target.isEmpty())
            QCOMPARE(h.window().childAt(where), nullptr);
        QTest::mouseDClick(target.isEmpty() ? &h.window() : h.find(target), Qt::LeftButton, {}, where);
        QCOMPARE(h.button("cmdKqKcTables")->isVisible(), reveals);
    }

    void tablesCommandWritesBothFiles()
    {
        WindowHarness h;
        QTest::mouseDClick(&h.window(), Qt::LeftButton, {}, QPoint(650, 400));
        h.click("cmdKqKcTables");
        for (const QString& name : { u"KqTable.CSV"_s, u"KcTable.CSV"_s })
            QCOMPARE(ReadAll(name), ReadAll(Str(LATCAP_TEST_DATA "/") + name));
        QVERIFY(h.platform.messages.isEmpty());
        QVERIFY(h.resultsCleared());
    }

    void exportWritesTheSliceTable()
    {
        WindowHarness h;
        h.calcReferenceDepth();
        const QString path = QDir::current().filePath(u"pile.csv"_s);
        h.platform.fileNames.enqueue(path);
        h.click("cmdExport");

        QCOMPARE(h.platform.saveDialogs.size(), 1);
        QCOMPARE(h.platform.saveDialogs.first().title, u"Save Report"_s);
        QCOMPARE(ReadAll(path), ReadAll(Str(LATCAP_TEST_DATA "/reference-calc-l.csv")));
    }

    void helpFromButtonAndF1()
    {
        WindowHarness h;
        h.click("cmdHelp");
        QTest::keyClick(h.box("txtH"), Qt::Key_F1);
        QTest::keyClick(h.list("selectFrictionAngle_0"), Qt::Key_F1);
        QCOMPARE(h.platform.helpRequests, 3);
    }

    void exitClosesAtOnce()
    {
        WindowHarness h;
        h.type("txtH", "50");
        h.click("cmdExit");
        QVERIFY(!h.window().isVisible());
        QVERIFY(h.platform.messages.isEmpty());
    }
};

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
