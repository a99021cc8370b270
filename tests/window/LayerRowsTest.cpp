// The window at start, the layer rows, the settings file and the focus order.

#include "WindowHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using latcap::testing::RowName;
using latcap::testing::WindowHarness;

class LayerRowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startUp();
    void rowsStandOneAndAThirdBoxHeightsApart();
    void layerCountChanges_data();
    void layerCountChanges();
    void threeLayersBackToTwoAndToThreeAgain();
    void bottomsChainIntoTheTopsBelow();
    void copyButtonsFillHiddenRows_data();
    void copyButtonsFillHiddenRows();
    void typingIntoTheLayerCountIsNoChoice();
    void arrowKeysChooseTheLayerCount();
    void settingsFile_data();
    void settingsFile();
    void tabFollowsTheFocusOrder_data();
    void tabFollowsTheFocusOrder();

private:
    QTemporaryDir workDir_;
    QString previousDir_;
};

void LayerRowsTest::init()
{
    // Every window reads Latcap.ini from the working directory.
    QVERIFY(workDir_.isValid());
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir_.path()));
    QFile::remove(QStringLiteral("Latcap.ini"));
}

void LayerRowsTest::cleanup()
{
    QDir::setCurrent(previousDir_);
    for (const QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void LayerRowsTest::startUp()
{
    WindowHarness h;
    latcap::frmLatcap& w = h.window();
    QCOMPARE(w.windowTitle(), QStringLiteral("Lateral And Moment Pile Capacity - Brinch Hansen Method"));
    QCOMPARE(w.size(), QSize(713, 664));
    QCOMPARE(w.minimumSize(), w.maximumSize());

    QCOMPARE(h.text(QStringLiteral("txtCSF")), QStringLiteral("0.5"));
    for (const char* empty : { "lblWhat", "lblZr", "lblMoment", "lblShear", "txtH", "txtM", "txtL", "Text1" })
        QVERIFY2(h.text(QString::fromLatin1(empty)).isEmpty(), empty);
    QVERIFY(!h.button(QStringLiteral("cmdPrint"))->isEnabled());
    QVERIFY(!h.button(QStringLiteral("cmdExport"))->isEnabled());
    QVERIFY(!h.button(QStringLiteral("cmdKqKcTables"))->isVisible());
    QCOMPARE(QApplication::focusWidget(), h.box(QStringLiteral("Text1")));

    // One layer from 0 to 100 m, neither depth editable.
    QCOMPARE(h.text(QStringLiteral("selectNoLayers")), QStringLiteral("1"));
    QCOMPARE(h.text(QStringLiteral("lblLayerNo_0")), QStringLiteral("1"));
    QCOMPARE(h.text(QStringLiteral("txtFrom_0")), QStringLiteral("0"));
    QCOMPARE(h.text(QStringLiteral("txtTo_0")), QStringLiteral("100"));
    QVERIFY(!h.box(QStringLiteral("txtFrom_0"))->isEnabled());
    QVERIFY(!h.box(QStringLiteral("txtTo_0"))->isEnabled());
    QCOMPARE(h.text(QStringLiteral("selectFrictionAngle_0")), QStringLiteral("0"));
    QCOMPARE(h.text(QStringLiteral("txtFrom_1")), QStringLiteral("100"));
    for (int row = 1; row < 5; ++row) {
        QVERIFY(!h.find(RowName("txtTo", row))->isVisible());
        QVERIFY(!h.find(RowName("lblLayerNo", row))->isVisible());
        QCOMPARE(h.text(RowName("lblLayerNo", row)), QString::number(row + 1));
    }

    QStringList counts;
    QStringList angles;
    for (int i = 0; i < h.list(QStringLiteral("selectNoLayers"))->count(); ++i)
        counts << h.list(QStringLiteral("selectNoLayers"))->itemText(i);
    for (int i = 0; i < h.list(QStringLiteral("selectFrictionAngle_4"))->count(); ++i)
        angles << h.list(QStringLiteral("selectFrictionAngle_4"))->itemText(i);
    QCOMPARE(counts.join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5"));
    QCOMPARE(angles.join(QLatin1Char(' ')), QStringLiteral("0 5 10 15 20 25 30 35 40 45"));

    QCOMPARE(h.text(QStringLiteral("Label_0")), QStringLiteral("\u03B3"));
    QCOMPARE(h.text(QStringLiteral("Label_2")), QStringLiteral("\u03C6"));
    for (const char* copy : { "cmdGama", "cmdC", "cmdFrictionAngle", "cmdD" })
        QCOMPARE(h.button(QString::fromLatin1(copy))->toolTip(), QStringLiteral("All Same As Layer 1"));
    QVERIFY(h.platform.messages.isEmpty());
}

void LayerRowsTest::rowsStandOneAndAThirdBoxHeightsApart()
{
    WindowHarness h;
    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("5"));
    const int boxHeight = h.box(QStringLiteral("txtFrom_0"))->height();
    const int top = h.box(QStringLiteral("txtFrom_0"))->y();
    for (int row = 0; row < 5; ++row) {
        const int expected = top + qRound(row * boxHeight * 1.3);
        for (const char* array : { "txtFrom", "txtTo", "txtGama", "txtC", "selectFrictionAngle", "txtD" })
            QCOMPARE(h.find(RowName(array, row))->y(), expected);
        QCOMPARE(h.find(RowName("lblLayerNo", row))->y(), h.find(QStringLiteral("lblLayerNo_0"))->y() + expected - top);
        QCOMPARE(h.find(RowName("txtD", row))->x(), h.find(QStringLiteral("txtD_0"))->x());
    }
}

void LayerRowsTest::layerCountChanges_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<int>("layers");
    QTest::newRow("three after start") << QStringList { QStringLiteral("3") } << 3;
    QTest::newRow("five") << QStringList { QStringLiteral("5") } << 5;
    QTest::newRow("five back to one") << QStringList { QStringLiteral("5"), QStringLiteral("1") } << 1;
    QTest::newRow("two, four, two") << QStringList { QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("2") }
                                    << 2;
    QTest::newRow("the count already chosen") << QStringList { QStringLiteral("1") } << 1;
}

// Whatever the path, the chosen rows show, the deepest one ends at a fixed
// 100 m, the others are open, and every top follows the bottom above it.
void LayerRowsTest::layerCountChanges()
{
    QFETCH(QStringList, choices);
    QFETCH(int, layers);
    WindowHarness h;
    for (const QString& count : choices)
        h.choose(QStringLiteral("selectNoLayers"), count);

    QCOMPARE(h.window().analysisState().NoLayers, layers);
    for (int row = 0; row < 5; ++row) {
        const bool shown = row < layers;
        for (const char* array : { "lblLayerNo", "txtFrom", "txtTo", "txtGama", "txtC", "selectFrictionAngle", "txtD" })
            QCOMPARE(h.find(RowName(array, row))->isVisible(), shown);
        QLineEdit* bottom = h.box(RowName("txtTo", row));
        if (row == layers - 1) {
            QCOMPARE(bottom->text(), QStringLiteral("100"));
            QVERIFY(!bottom->isEnabled());
        } else {
            QVERIFY(bottom->isEnabled());
        }
        QVERIFY(!h.box(RowName("txtFrom", row))->isEnabled());
        if (row < 4)
            QCOMPARE(h.text(RowName("txtFrom", row + 1)), bottom->text());
    }
    QCOMPARE(h.text(QStringLiteral("txtFrom_0")), QStringLiteral("0"));
    QVERIFY(h.resultsCleared());
}

void LayerRowsTest::threeLayersBackToTwoAndToThreeAgain()
{
    WindowHarness h;
    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("3"));
    QCOMPARE(h.text(QStringLiteral("txtTo_0")), QString());
    QCOMPARE(h.text(QStringLiteral("txtFrom_1")), QString());
    QCOMPARE(h.text(QStringLiteral("txtTo_1")), QString());
    QCOMPARE(h.text(QStringLiteral("lblLayerNo_2")), QStringLiteral("3"));
    h.type(QStringLiteral("txtTo_0"), QStringLiteral("2.5"));
    h.type(QStringLiteral("txtTo_1"), QStringLiteral("6"));
    h.type(QStringLiteral("txtGama_2"), QStringLiteral("19"));
    h.type(QStringLiteral("txtC_2"), QStringLiteral("4"));
    h.type(QStringLiteral("selectFrictionAngle_2"), QStringLiteral("33"));
    h.type(QStringLiteral("txtD_2"), QStringLiteral("0.9"));

    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("2"));
    QCOMPARE(h.text(QStringLiteral("txtTo_1")), QStringLiteral("100"));
    QVERIFY(!h.box(QStringLiteral("txtTo_1"))->isEnabled());
    QCOMPARE(h.text(QStringLiteral("txtFrom_2")), QStringLiteral("100"));
    QVERIFY(!h.find(QStringLiteral("txtGama_2"))->isVisible());

    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("3"));
    QCOMPARE(h.text(QStringLiteral("txtTo_0")), QStringLiteral("2.5"));
    QCOMPARE(h.text(QStringLiteral("txtTo_1")), QString());
    QVERIFY(h.box(QStringLiteral("txtTo_1"))->isEnabled());
    QCOMPARE(h.text(QStringLiteral("txtFrom_2")), QString());
    QCOMPARE(h.text(QStringLiteral("txtTo_2")), QStringLiteral("100"));
    QCOMPARE(h.text(QStringLiteral("txtGama_2")), QStringLiteral("19"));
    QCOMPARE(h.text(QStringLiteral("txtC_2")), QStringLiteral("4"));
    QCOMPARE(h.text(QStringLiteral("selectFrictionAngle_2")), QStringLiteral("33"));
    QCOMPARE(h.text(QStringLiteral("txtD_2")), QStringLiteral("0.9"));
}

void LayerRowsTest::bottomsChainIntoTheTopsBelow()
{
    WindowHarness h;
    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("5"));
    const char* bottoms[] = { "2.5", "4", "7.25", "12" };
    for (int row = 0; row < 4; ++row) {
        QLineEdit* bottom = h.box(RowName("txtTo", row));
        QTest::mouseClick(bottom, Qt::LeftButton);
        for (const QChar c : QString::fromLatin1(bottoms[row])) {
            QTest::keyClick(bottom, c.toLatin1());
            QCOMPARE(h.text(RowName("txtFrom", row + 1)), bottom->text());
        }
    }
    QCOMPARE(h.text(QStringLiteral("txtFrom_4")), QStringLiteral("12"));
    QCOMPARE(h.text(QStringLiteral("txtTo_4")), QStringLiteral("100"));
}

void LayerRowsTest::copyButtonsFillHiddenRows_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("chosen"); // picked from the list instead of typed

    QTest::newRow("unit weight") << "cmdGama"
                                 << "txtGama"
                                 << "18.5" << false;
    QTest::newRow("cohesion") << "cmdC"
                              << "txtC"
                              << "5" << false;
    QTest::newRow("width") << "cmdD"
                           << "txtD"
                           << "0.6" << false;
    QTest::newRow("typed angle 32 is no item") << "cmdFrictionAngle"
                                               << "selectFrictionAngle"
                                               << "32" << false;
    QTest::newRow("chosen angle") << "cmdFrictionAngle"
                                  << "selectFrictionAngle"
                                  << "35" << true;
}

void LayerRowsTest::copyButtonsFillHiddenRows()
{
    QFETCH(QString, button);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(bool, chosen);
    WindowHarness h;
    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("2"));
    const QString first = column + QStringLiteral("_0");
    if (chosen)
        h.choose(first, value);
    else
        h.type(first, value);
    h.click(button);
    for (int row = 1; row < 5; ++row)
        QCOMPARE(h.text(column + QLatin1Char('_') + QString::number(row)), value);

    h.choose(QStringLiteral("selectNoLayers"), QStringLiteral("5"));
    for (int row = 0; row < 5; ++row) {
        const QString name = column + QLatin1Char('_') + QString::number(row);
        QVERIFY(h.find(name)->isVisible());
        QCOMPARE(h.text(name), value);
    }
}

// Typing a count into the list's field and leaving it does not change the
// rows; only choosing an item does.
void LayerRowsTest::typingIntoTheLayerCountIsNoChoice()
{
    WindowHarness h;
    h.type(QStringLiteral("selectNoLayers"), QStringLiteral("3"));
    QTest::keyClick(h.list(QStringLiteral("selectNoLayers")), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(h.window().analysisState().NoLayers, 1);
    QVERIFY(!h.find(QStringLiteral("txtGama_1"))->isVisible());
    QCOMPARE(h.text(QStringLiteral("txtTo_0")), QStringLiteral("100"));
}

void LayerRowsTest::arrowKeysChooseTheLayerCount()
{
    WindowHarness h;
    QComboBox* count = h.list(QStringLiteral("selectNoLayers"));
    QTest::mouseClick(h.box(QStringLiteral("txtL")), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), count);
    QTest::keyClick(count, Qt::Key_Down);
    QTest::keyClick(count, Qt::Key_Down);
    QCOMPARE(h.window().analysisState().NoLayers, 3);
    QVERIFY(h.find(QStringLiteral("txtGama_2"))->isVisible());
    QTest::keyClick(count, Qt::Key_Up);
    QCOMPARE(h.window().analysisState().NoLayers, 2);
    QCOMPARE(h.text(QStringLiteral("txtTo_1")), QStringLiteral("100"));
}

void LayerRowsTest::settingsFile_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("csf");

    QTest::newRow("CR LF") << true << QByteArray("Latcap settings\r\n0.75\r\nmore\r\n") << "0.75";
    QTest::newRow("LF written on Linux") << true << QByteArray("Latcap settings\n0.75\n") << "0.75";
    QTest::newRow("CR only") << true << QByteArray("Latcap settings\r0.75\r") << "0.75";
    QTest::newRow("no line end after line 2") << true << QByteArray("x\r\n0.8") << "0.8";
    QTest::newRow("remark kept verbatim") << true << QByteArray("x\r\n0.5 ; remark\r\n") << "0.5 ; remark";
    QTest::newRow("single-byte characters") << true << QByteArray("x\r\n0.6 \xB0\r\n") << QStringLiteral("0.6 \u00B0");
    QTest::newRow("empty line 2") << true << QByteArray("x\r\n\r\n0.9\r\n") << "";
    QTest::newRow("one line only") << true << QByteArray("x\r\n") << "0.5";
    QTest::newRow("empty file") << true << QByteArray() << "0.5";
    QTest::newRow("missing") << false << QByteArray() << "0.5";
}

void LayerRowsTest::settingsFile()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(QString, csf);
    if (present) {
        QFile ini(QStringLiteral("Latcap.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        QCOMPARE(ini.write(content), content.size());
    }
    WindowHarness h;
    QCOMPARE(h.text(QStringLiteral("txtCSF")), csf);
    QVERIFY(h.platform.messages.isEmpty());
    QVERIFY(h.resultsCleared());
    QCOMPARE(h.text(QStringLiteral("lblWhat")), QString());
}

void LayerRowsTest::tabFollowsTheFocusOrder_data()
{
    QTest::addColumn<QString>("layers");
    QTest::addColumn<bool>("tablesShown");
    QTest::addColumn<QStringList>("order");

    const QStringList head { QStringLiteral("Text1"), QStringLiteral("txtCSF"), QStringLiteral("txtH"),
        QStringLiteral("txtM"), QStringLiteral("txtL"), QStringLiteral("selectNoLayers") };
    const QStringList commands { QStringLiteral("cmdGama"), QStringLiteral("cmdC"), QStringLiteral("cmdFrictionAngle"),
        QStringLiteral("cmdD"), QStringLiteral("cmdCalcL"), QStringLiteral("cmdCalcM"), QStringLiteral("cmdExit") };
    auto row = [](int i, bool bottom) {
        QStringList names;
        if (bottom)
            names << RowName("txtTo", i);
        names << RowName("txtGama", i) << RowName("txtC", i) << RowName("selectFrictionAngle", i) << RowName("txtD", i);
        return names;
    };
    QTest::newRow("one layer") << "1" << false
                               << head + row(0, false) + commands + QStringList { QStringLiteral("cmdHelp") };
    QTest::newRow("three layers, rows in turn")
        << "3" << false
        << head + row(0, true) + row(1, true) + row(2, false) + commands + QStringList { QStringLiteral("cmdHelp") };
    QTest::newRow("tables command revealed")
        << "1" << true
        << head + row(0, false) + commands + QStringList { QStringLiteral("cmdKqKcTables"), QStringLiteral("cmdHelp") };
}

void LayerRowsTest::tabFollowsTheFocusOrder()
{
    QFETCH(QString, layers);
    QFETCH(bool, tablesShown);
    QFETCH(QStringList, order);
    WindowHarness h;
    h.choose(QStringLiteral("selectNoLayers"), layers);
    if (tablesShown)
        QTest::mouseDClick(&h.window(), Qt::LeftButton, {}, QPoint(650, 400));
    QTest::mouseClick(h.box(QStringLiteral("Text1")), Qt::LeftButton);

    QStringList visited;
    for (int step = 0; step <= order.size(); ++step) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, order + QStringList { QStringLiteral("Text1") });
}

QTEST_MAIN(LayerRowsTest)
#include "LayerRowsTest.moc"
