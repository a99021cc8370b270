// Calc L and Calc M from the window: validation, the results the user reads,
// the solver messages, and the commands around them (print, export, tables,
// help, exit).

#include "Messages.h"
#include "WindowHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

} // namespace

class CommandsTest : public latcap::testing::WindowTestCase {
    Q_OBJECT

private Q_SLOTS:
    void referenceCases_data();
    void referenceCases();
    void notEnoughData_data();
    void notEnoughData();
    void layerBottomAboveItsTopIsNotEnoughData();
    void everyInputChangeClearsTheResults_data();
    void everyInputChangeClearsTheResults();
    void depthBeyondFiftyMetresKeepsItsMessage();
    void calcMAfterCalcLUsesTheRoundedDepth();
    void arithmeticProblemShowsNoResults_data();
    void arithmeticProblemShowsNoResults();
    void printHidesTheCommandsOnWhite_data();
    void printHidesTheCommandsOnWhite();
    void doubleClickRevealsTheTablesCommand_data();
    void doubleClickRevealsTheTablesCommand();
    void tablesCommandWritesBothFiles();
    void exportWritesTheSliceTable();
    void helpFromButtonAndF1();
    void exitClosesAtOnce();
};

void CommandsTest::referenceCases_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("csf");
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("zr");
    QTest::addColumn<QString>("maxMoment");
    QTest::addColumn<QString>("maxShear");

    QTest::newRow("Calc L, H 50, M 20") << "cmdCalcL"
                                        << "1"
                                        << "50"
                                        << "20"
                                        << ""
                                        << "2.478"
                                        << "Zr = 1.979 m"
                                        << "Moment = 61.42 kNm"
                                        << "Shear = 100.34 kN";
    QTest::newRow("Calc M, H 50, L 3") << "cmdCalcM"
                                       << "1"
                                       << "50"
                                       << ""
                                       << "3"
                                       << "101.32"
                                       << "Zr = 2.336 m"
                                       << "Moment = 142.72 kNm"
                                       << "Shear = 169.01 kN";
    QTest::newRow("Calc L with CSF 0.5") << "cmdCalcL"
                                         << "0.5"
                                         << "50"
                                         << "20"
                                         << ""
                                         << "3.302"
                                         << "Zr = 2.648 m"
                                         << "Moment = 76.75 kNm"
                                         << "Shear = 96.03 kN";
    QTest::newRow("Calc M, H 400 turns below the toe") << "cmdCalcM"
                                                       << "1"
                                                       << "400"
                                                       << ""
                                                       << "3"
                                                       << "-841.72"
                                                       << "Zr = 3.015 m"
                                                       << ""
                                                       << "";
}

void CommandsTest::referenceCases()
{
    QFETCH(QString, command);
    QFETCH(QString, csf);
    QFETCH(QString, load);
    QFETCH(QString, moment);
    QFETCH(QString, depth);
    QFETCH(QString, answer);
    QFETCH(QString, zr);
    QFETCH(QString, maxMoment);
    QFETCH(QString, maxShear);
    WindowHarness h;
    h.enterReferenceSand();
    h.type("txtCSF", csf);
    h.type("txtH", load);
    h.type("txtM", moment);
    h.type("txtL", depth);
    h.click(command);

    QCOMPARE(h.text(command == u"cmdCalcL"_s ? u"txtL"_s : u"txtM"_s), answer);
    QCOMPARE(h.text("lblZr"), zr);
    if (!maxMoment.isEmpty()) {
        QCOMPARE(h.text("lblMoment"), maxMoment);
        QCOMPARE(h.text("lblShear"), maxShear);
    }
    QVERIFY(h.platform.messages.isEmpty());
    QCOMPARE(h.text("lblWhat"), QString());
    QVERIFY(h.resultsShown());
}

void CommandsTest::notEnoughData_data()
{
    QTest::addColumn<QString>("csf");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("cohesion");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<QString>("width");
    QTest::addColumn<bool>("enough");

    QTest::newRow("complete") << "1"
                              << "20"
                              << ""
                              << "0"
                              << "30"
                              << "0.6" << true;
    QTest::newRow("no moment but a depth") << "1"
                                           << ""
                                           << "10"
                                           << "0"
                                           << "30"
                                           << "0.6" << true;
    QTest::newRow("negative moment") << "1"
                                     << "-50"
                                     << ""
                                     << "0"
                                     << "30"
                                     << "0.6" << true;
    QTest::newRow("moment 0 and depth 0") << "1"
                                          << "0"
                                          << "0"
                                          << "0"
                                          << "30"
                                          << "0.6" << false;
    QTest::newRow("moment and depth empty") << "1"
                                            << ""
                                            << ""
                                            << "0"
                                            << "30"
                                            << "0.6" << false;
    QTest::newRow("CSF empty") << ""
                               << "20"
                               << ""
                               << "0"
                               << "30"
                               << "0.6" << false;
    QTest::newRow("CSF 0") << "0"
                           << "20"
                           << ""
                           << "0"
                           << "30"
                           << "0.6" << false;
    QTest::newRow("CSF negative") << "-1"
                                  << "20"
                                  << ""
                                  << "0"
                                  << "30"
                                  << "0.6" << false;
    QTest::newRow("width 0") << "1"
                             << "20"
                             << ""
                             << "0"
                             << "30"
                             << "0" << false;
    QTest::newRow("width without digits") << "1"
                                          << "20"
                                          << ""
                                          << "0"
                                          << "30"
                                          << "wide" << false;
    QTest::newRow("no cohesion, no friction") << "1"
                                              << "20"
                                              << ""
                                              << "0"
                                              << "0"
                                              << "0.6" << false;
    QTest::newRow("cohesion alone is enough") << "1"
                                              << "20"
                                              << ""
                                              << "5"
                                              << "0"
                                              << "0.6" << true;
    QTest::newRow("several faults, one message") << "0"
                                                 << ""
                                                 << ""
                                                 << "0"
                                                 << "0"
                                                 << "" << false;
    QTest::newRow("width beyond single precision") << "1"
                                                   << "20"
                                                   << ""
                                                   << "0"
                                                   << "30"
                                                   << "1e39" << false;
    QTest::newRow("CSF so small the loads overflow") << "1e-40"
                                                     << "20"
                                                     << ""
                                                     << "0"
                                                     << "30"
                                                     << "0.6" << false;
    QTest::newRow("typed friction angle 90") << "1"
                                             << "20"
                                             << ""
                                             << "0"
                                             << "90"
                                             << "0.6" << false;
}

void CommandsTest::notEnoughData()
{
    QFETCH(QString, csf);
    QFETCH(QString, moment);
    QFETCH(QString, depth);
    QFETCH(QString, cohesion);
    QFETCH(QString, angle);
    QFETCH(QString, width);
    QFETCH(bool, enough);
    WindowHarness h;
    h.type("txtCSF", csf);
    h.type("txtH", "50");
    h.type("txtM", moment);
    h.type("txtL", depth);
    h.type("txtGama_0", "18");
    h.type("txtC_0", cohesion);
    h.type("selectFrictionAngle_0", angle);
    h.type("txtD_0", width);
    h.click(Str(depth.isEmpty() ? "cmdCalcL" : "cmdCalcM"));

    if (enough) {
        QVERIFY(!h.platform.messageTexts().contains(Str(latcap::text::kNotEnoughData)));
        QVERIFY(h.resultsShown());
        return;
    }
    QCOMPARE(h.platform.messages.size(), 1);
    const FakePlatform::Message& message = h.platform.messages.first();
    QCOMPARE(message.text, u"Not Enough Data"_s);
    QCOMPARE(message.title, u"Error"_s);
    QCOMPARE(message.buttons, latcap::Platform::Buttons::Ok);
    QVERIFY(h.resultsCleared());
    QCOMPARE(h.text("lblWhat"), QString());
    QCOMPARE(h.text("txtL"), depth);
    QCOMPARE(h.text("txtM"), moment);
}

void CommandsTest::layerBottomAboveItsTopIsNotEnoughData()
{
    WindowHarness h;
    h.choose("selectNoLayers", "3");
    for (int row = 0; row < 3; ++row) {
        h.type(RowName("txtGama", row), "18");
        h.type(RowName("selectFrictionAngle", row), "30");
        h.type(RowName("txtD", row), "0.6");
    }
    h.type("txtH", "50");
    h.type("txtM", "20");
    h.type("txtTo_0", "10");
    h.type("txtTo_1", "5");
    h.click("cmdCalcL");
    QCOMPARE(h.platform.messageTexts(), QStringList { u"Not Enough Data"_s });

    h.platform.messages.clear();
    h.type("txtTo_1", "15");
    h.click("cmdCalcL");
    QVERIFY(h.platform.messages.isEmpty());
    QVERIFY(h.resultsShown());
}

void CommandsTest::everyInputChangeClearsTheResults_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed"); // empty: chosen from the list or clicked
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("clears");

    QTest::newRow("CSF") << "txtCSF"
                         << "0.9"
                         << "" << true;
    QTest::newRow("lateral load") << "txtH"
                                  << "60"
                                  << "" << true;
    QTest::newRow("moment") << "txtM"
                            << "25"
                            << "" << true;
    QTest::newRow("depth") << "txtL"
                           << "4"
                           << "" << true;
    QTest::newRow("unit weight") << "txtGama_0"
                                 << "17"
                                 << "" << true;
    QTest::newRow("cohesion") << "txtC_0"
                              << "2"
                              << "" << true;
    QTest::newRow("width") << "txtD_0"
                           << "0.5"
                           << "" << true;
    QTest::newRow("typed friction angle") << "selectFrictionAngle_0"
                                          << "28"
                                          << "" << true;
    QTest::newRow("chosen friction angle") << "selectFrictionAngle_0"
                                           << ""
                                           << "25" << true;
    QTest::newRow("same friction angle chosen again") << "selectFrictionAngle_0"
                                                      << ""
                                                      << "30" << true;
    QTest::newRow("layer count") << "selectNoLayers"
                                 << ""
                                 << "2" << true;
    QTest::newRow("same layer count again") << "selectNoLayers"
                                            << ""
                                            << "1" << true;
    QTest::newRow("copy unit weight down") << "cmdGama"
                                           << ""
                                           << "" << true;
    QTest::newRow("copy cohesion down") << "cmdC"
                                        << ""
                                        << "" << true;
    QTest::newRow("copy friction angle down") << "cmdFrictionAngle"
                                              << ""
                                              << "" << true;
    QTest::newRow("copy width down") << "cmdD"
                                     << ""
                                     << "" << true;
    QTest::newRow("title is no input") << "Text1"
                                       << "Pile 7"
                                       << "" << false;
}

void CommandsTest::everyInputChangeClearsTheResults()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QFETCH(bool, clears);
    WindowHarness h;
    h.enterReferenceSand();
    h.type("txtH", "50");
    h.type("txtM", "20");
    h.click("cmdCalcL");
    QVERIFY(h.resultsShown());
    const QString depth = h.text("txtL");

    if (!typed.isEmpty())
        h.type(control, typed);
    else if (!chosen.isEmpty())
        h.choose(control, chosen);
    else
        h.click(control);

    QCOMPARE(h.resultsCleared(), clears);
    QCOMPARE(h.resultsShown(), !clears);
    if (control != u"txtL"_s)
        QCOMPARE(h.text("txtL"), depth);
}

void CommandsTest::depthBeyondFiftyMetresKeepsItsMessage()
{
    WindowHarness h;
    h.type("txtCSF", "1");
    h.type("txtH", "5000");
    h.type("txtM", "50000");
    h.type("txtGama_0", "10");
    h.type("txtC_0", "0");
    h.choose("selectFrictionAngle_0", "10");
    h.type("txtD_0", "0.3");
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

void CommandsTest::calcMAfterCalcLUsesTheRoundedDepth()
{
    WindowHarness h;
    h.enterReferenceSand();
    h.type("txtCSF", "1");
    h.type("txtH", "50");
    h.type("txtM", "20");
    h.click("cmdCalcL");
    QCOMPARE(h.text("txtL"), u"2.478"_s);
    const float found = h.window().analysisState().LCalc;
    QVERIFY(found != 2.478f);

    h.click("cmdCalcM");
    QCOMPARE(h.window().analysisState().L, 2.478f);
    QCOMPARE(h.text("txtL"), u"2.478"_s);
    // The rounded depth carries about the moment the depth was found for.
    const double carried = h.text("txtM").toDouble();
    QVERIFY2(qAbs(carried - 20.0) < 0.5, qPrintable(h.text("txtM")));
    QVERIFY(h.resultsShown());
}

void CommandsTest::arithmeticProblemShowsNoResults_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("csf");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("cohesion");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("Calc M with a huge CSF") << "cmdCalcM"
                                            << "3e38"
                                            << "20"
                                            << "0" << QStringList { Str(latcap::text::kMomentArithmetic) };
    QTest::newRow("Calc L with a huge moment") << "cmdCalcL"
                                               << "3e38"
                                               << "3e38"
                                               << "0" << QStringList { Str(latcap::text::kDepthArithmetic) };
    QTest::newRow("Calc L with a huge cohesion")
        << "cmdCalcL"
        << "1"
        << "20"
        << "3e38"
        << QStringList { Str(latcap::text::kMomentIteration), Str(latcap::text::kDepthIteration),
               Str(latcap::text::kDepthArithmetic) };
}

void CommandsTest::arithmeticProblemShowsNoResults()
{
    QFETCH(QString, command);
    QFETCH(QString, csf);
    QFETCH(QString, moment);
    QFETCH(QString, cohesion);
    QFETCH(QStringList, messages);
    WindowHarness h;
    h.enterReferenceSand();
    h.type("txtCSF", csf);
    h.type("txtH", "50");
    h.type("txtM", moment);
    h.type("txtL", "3");
    h.type("txtC_0", cohesion);
    h.click(command);

    QCOMPARE(h.platform.messageTexts(), messages);
    QCOMPARE(h.text("lblWhat"), messages.last());
    QVERIFY(h.resultsCleared());
    QCOMPARE(h.text("txtM"), moment);
    QCOMPARE(h.text("txtL"), u"3"_s);
}

void CommandsTest::printHidesTheCommandsOnWhite_data()
{
    QTest::addColumn<QString>("printError");
    QTest::newRow("printed") << QString();
    QTest::newRow("printer failed") << u"No printer is installed."_s;
}

void CommandsTest::printHidesTheCommandsOnWhite()
{
    QFETCH(QString, printError);
    WindowHarness h;
    h.platform.printError = printError;
    QVERIFY(!h.button("cmdPrint")->isEnabled());
    h.enterReferenceSand();
    h.type("txtH", "50");
    h.type("txtM", "20");
    h.click("cmdCalcL");
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
    for (const char* offPaper : { "cmdPrint", "cmdExport", "cmdExit", "cmdHelp" })
        QVERIFY2(blank(h.button(Str(offPaper))->geometry()), offPaper);
    for (const char* onPaper : { "cmdCalcL", "cmdCalcM", "cmdGama", "lblMoment", "Text1" })
        QVERIFY2(!blank(h.find(Str(onPaper))->geometry()), onPaper);
    QVERIFY(blank(QRect(650, 380, 40, 20)));
    QVERIFY2(!h.find<QLineEdit>(Str("Text1"))->hasSelectedText(), "no box shows its text selected");

    QCOMPARE(h.window().palette().color(QPalette::Window), background);
    for (const char* command : { "cmdPrint", "cmdExport", "cmdExit", "cmdHelp" })
        QVERIFY2(h.button(Str(command))->isVisible(), command);
    QVERIFY(h.resultsShown());
    QCOMPARE(QApplication::focusWidget(), h.button("cmdPrint"));
    QCOMPARE(h.platform.messages.size(), printError.isEmpty() ? 0 : 1);
    QVERIFY2(restoredWhileAsking, "the window is itself again when it says printing failed");
}

void CommandsTest::doubleClickRevealsTheTablesCommand_data()
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

void CommandsTest::doubleClickRevealsTheTablesCommand()
{
    QFETCH(QString, target);
    QFETCH(QPoint, where);
    QFETCH(bool, reveals);
    WindowHarness h;
    QWidget* widget = target.isEmpty() ? &h.window() : h.find(target);
    if (target.isEmpty())
        QCOMPARE(h.window().childAt(where), nullptr);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, where);
    QCOMPARE(h.button("cmdKqKcTables")->isVisible(), reveals);
}

void CommandsTest::tablesCommandWritesBothFiles()
{
    WindowHarness h;
    QTest::mouseDClick(&h.window(), Qt::LeftButton, {}, QPoint(650, 400));
    h.click("cmdKqKcTables");
    const QString data = Str(LATCAP_TEST_DATA) + QLatin1Char('/');
    QCOMPARE(ReadAll(u"KqTable.CSV"_s), ReadAll(data + u"KqTable.CSV"_s));
    QCOMPARE(ReadAll(u"KcTable.CSV"_s), ReadAll(data + u"KcTable.CSV"_s));
    QVERIFY(h.platform.messages.isEmpty());
    QVERIFY(h.resultsCleared());
}

void CommandsTest::exportWritesTheSliceTable()
{
    WindowHarness h;
    h.enterReferenceSand();
    h.type("txtH", "50");
    h.type("txtM", "20");
    h.click("cmdCalcL");
    const QString path = QDir::current().filePath(u"pile.csv"_s);
    h.platform.fileNames.enqueue(path);
    h.click("cmdExport");

    QCOMPARE(h.platform.saveDialogs.size(), 1);
    QCOMPARE(h.platform.saveDialogs.first().title, u"Save Report"_s);
    const QList<QByteArray> lines = ReadAll(path).split('\n');
    QCOMPARE(lines.first(),
        QByteArray("Z,Weight Above,Kq,Kc,dZ,Soil Pressure,Soil Force,CSF * Pile Shear,"
                   "CSF * Pile Moment\r"));
    QCOMPARE(lines.size() - 2, int(h.window().analysisState().NoSlices));
}

void CommandsTest::helpFromButtonAndF1()
{
    WindowHarness h;
    h.click("cmdHelp");
    QCOMPARE(h.platform.helpRequests, 1);
    QTest::keyClick(h.box("txtH"), Qt::Key_F1);
    QCOMPARE(h.platform.helpRequests, 2);
    QTest::keyClick(h.list("selectFrictionAngle_0"), Qt::Key_F1);
    QCOMPARE(h.platform.helpRequests, 3);
}

void CommandsTest::exitClosesAtOnce()
{
    WindowHarness h;
    h.type("txtH", "50");
    h.click("cmdExit");
    QVERIFY(!h.window().isVisible());
    QVERIFY(h.platform.messages.isEmpty());
}

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
