// The window at start, the layer rows, the settings file and the focus order.

#include "WindowHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

using latcap::testing::RowName;
using latcap::testing::WindowHarness;

namespace {

QString Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items.join(QLatin1Char(' '));
}

} // namespace

class LayerRowsTest : public latcap::testing::WindowTestCase {
    Q_OBJECT

private Q_SLOTS:
    void startUp()
    {
        WindowHarness h;
        latcap::frmLatcap& w = h.window();
        QCOMPARE(w.windowTitle(), u"Lateral And Moment Pile Capacity - Brinch Hansen Method"_s);
        QCOMPARE(w.size(), QSize(713, 664));
        QCOMPARE(w.minimumSize(), w.maximumSize());

        QCOMPARE(h.texts({ u"txtCSF"_s, u"lblWhat"_s, u"txtH"_s, u"txtM"_s, u"txtL"_s, u"Text1"_s }),
            QStringList({ u"0.5"_s, {}, {}, {}, {}, {} }));
        QVERIFY(h.resultsCleared());
        QVERIFY(!h.button("cmdKqKcTables")->isVisible());
        QCOMPARE(QApplication::focusWidget(), h.box("Text1"));

        // One layer from 0 to 100 m, neither depth editable.
        QCOMPARE(h.texts({ u"selectNoLayers"_s, u"lblLayerNo_0"_s, u"txtFrom_0"_s, u"txtTo_0"_s,
                     u"selectFrictionAngle_0"_s, u"txtFrom_1"_s, u"lblLayerNo_4"_s }),
            QStringList({ u"1"_s, u"1"_s, u"0"_s, u"100"_s, u"0"_s, u"100"_s, u"5"_s }));
        QVERIFY(!h.box("txtFrom_0")->isEnabled());
        QVERIFY(!h.box("txtTo_0")->isEnabled());

        QCOMPARE(Items(h.list("selectNoLayers")), u"1 2 3 4 5"_s);
        QCOMPARE(Items(h.list("selectFrictionAngle_4")), u"0 5 10 15 20 25 30 35 40 45"_s);

        QCOMPARE(h.text("Label_0"), u"\u03B3"_s);
        QCOMPARE(h.text("Label_2"), u"\u03C6"_s);
        for (const char* copy : { "cmdGama", "cmdC", "cmdFrictionAngle", "cmdD" })
            QCOMPARE(h.button(QString::fromLatin1(copy))->toolTip(), u"All Same As Layer 1"_s);
        QVERIFY(h.platform.messages.isEmpty());
    }

    void rowsStandOneAndAThirdBoxHeightsApart()
    {
        WindowHarness h;
        h.choose("selectNoLayers", "5");
        const int boxHeight = h.box("txtFrom_0")->height();
        const int top = h.box("txtFrom_0")->y();
        for (int row = 0; row < 5; ++row) {
            const int expected = top + qRound(row * boxHeight * 1.3);
            for (const char* array : { "txtFrom", "txtTo", "txtGama", "txtC", "selectFrictionAngle", "txtD" })
                QCOMPARE(h.find(RowName(array, row))->y(), expected);
            QCOMPARE(h.find(RowName("lblLayerNo", row))->y(), h.find("lblLayerNo_0")->y() + expected - top);
            QCOMPARE(h.find(RowName("txtD", row))->x(), h.find("txtD_0")->x());
        }
    }

    void layerCountChanges_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("layers");
        QTest::newRow("three after start") << QStringList { u"3"_s } << 3;
        QTest::newRow("five") << QStringList { u"5"_s } << 5;
        QTest::newRow("five back to one") << QStringList { u"5"_s, u"1"_s } << 1;
        QTest::newRow("two, four, two") << QStringList { u"2"_s, u"4"_s, u"2"_s } << 2;
        QTest::newRow("the count already chosen") << QStringList { u"1"_s } << 1;
    }

    // Whatever the path, the chosen rows show, the deepest one ends at a fixed
    // 100 m, the others are open, and every top follows the bottom above it.
    void layerCountChanges()
    {
        QFETCH(QStringList, choices);
        QFETCH(int, layers);
        WindowHarness h;
        for (const QString& count : choices)
            h.choose("selectNoLayers", count);

        QCOMPARE(h.window().analysisState().NoLayers, layers);
        for (int row = 0; row < 5; ++row) {
            const bool shown = row < layers;
            for (const char* array :
                { "lblLayerNo", "txtFrom", "txtTo", "txtGama", "txtC", "selectFrictionAngle", "txtD" })
                QCOMPARE(h.find(RowName(array, row))->isVisible(), shown);
            QLineEdit* bottom = h.box(RowName("txtTo", row));
            if (row == layers - 1) {
                QCOMPARE(bottom->text(), u"100"_s);
                QVERIFY(!bottom->isEnabled());
            } else {
                QVERIFY(bottom->isEnabled());
            }
            QVERIFY(!h.box(RowName("txtFrom", row))->isEnabled());
            if (row < 4)
                QCOMPARE(h.text(RowName("txtFrom", row + 1)), bottom->text());
        }
        QCOMPARE(h.text("txtFrom_0"), u"0"_s);
        QVERIFY(h.resultsCleared());
    }

    void threeLayersBackToTwoAndToThreeAgain()
    {
        WindowHarness h;
        h.choose("selectNoLayers", "3");
        QCOMPARE(h.texts({ u"txtTo_0"_s, u"txtFrom_1"_s, u"txtTo_1"_s, u"lblLayerNo_2"_s }),
            QStringList({ {}, {}, {}, u"3"_s }));
        const QStringList lastRow { u"txtGama_2"_s, u"txtC_2"_s, u"selectFrictionAngle_2"_s, u"txtD_2"_s };
        const QStringList entered { u"19"_s, u"4"_s, u"33"_s, u"0.9"_s };
        h.fill({ u"txtTo_0"_s, u"txtTo_1"_s }, { u"2.5"_s, u"6"_s });
        h.fill(lastRow, entered);

        h.choose("selectNoLayers", "2");
        QCOMPARE(h.texts({ u"txtTo_1"_s, u"txtFrom_2"_s }), QStringList({ u"100"_s, u"100"_s }));
        QVERIFY(!h.box("txtTo_1")->isEnabled());
        QVERIFY(!h.find("txtGama_2")->isVisible());

        h.choose("selectNoLayers", "3");
        QCOMPARE(h.texts({ u"txtTo_0"_s, u"txtTo_1"_s, u"txtFrom_2"_s, u"txtTo_2"_s }),
            QStringList({ u"2.5"_s, {}, {}, u"100"_s }));
        QVERIFY(h.box("txtTo_1")->isEnabled());
        QCOMPARE(h.texts(lastRow), entered);
    }

    void bottomsChainIntoTheTopsBelow()
    {
        WindowHarness h;
        h.choose("selectNoLayers", "5");
        const char* bottoms[] = { "2.5", "4", "7.25", "12" };
        for (int row = 0; row < 4; ++row) {
            QLineEdit* bottom = h.box(RowName("txtTo", row));
            QTest::mouseClick(bottom, Qt::LeftButton);
            for (const QChar c : QString::fromLatin1(bottoms[row])) {
                QTest::keyClick(bottom, c.toLatin1());
                QCOMPARE(h.text(RowName("txtFrom", row + 1)), bottom->text());
            }
        }
        QCOMPARE(h.text("txtFrom_4"), u"12"_s);
        QCOMPARE(h.text("txtTo_4"), u"100"_s);
    }

    void copyButtonsFillHiddenRows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("chosen"); // picked from the list instead of typed

        // clang-format off
        QTest::newRow("unit weight") << "cmdGama" << "txtGama" << "18.5" << false;
        QTest::newRow("cohesion") << "cmdC" << "txtC" << "5" << false;
        QTest::newRow("width") << "cmdD" << "txtD" << "0.6" << false;
        QTest::newRow("typed angle 32 is no item") << "cmdFrictionAngle" << "selectFrictionAngle" << "32" << false;
        QTest::newRow("chosen angle") << "cmdFrictionAngle" << "selectFrictionAngle" << "35" << true;
        // clang-format on
    }

    void copyButtonsFillHiddenRows()
    {
        QFETCH(QString, button);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(bool, chosen);
        WindowHarness h;
        h.choose("selectNoLayers", "2");
        const QString first = column + u"_0"_s;
        if (chosen)
            h.choose(first, value);
        else
            h.type(first, value);
        h.click(button);
        h.choose("selectNoLayers", "5");
        for (int row = 0; row < 5; ++row) {
            const QString name = column + QLatin1Char('_') + QString::number(row);
            QVERIFY(h.find(name)->isVisible());
            QCOMPARE(h.text(name), value);
        }
    }

    // Typing a count into the list's field and leaving it does not change the
    // rows; only choosing an item does.
    void typingIntoTheLayerCountIsNoChoice()
    {
        WindowHarness h;
        h.type("selectNoLayers", "3");
        QTest::keyClick(h.list("selectNoLayers"), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(h.window().analysisState().NoLayers, 1);
        QVERIFY(!h.find("txtGama_1")->isVisible());
        QCOMPARE(h.text("txtTo_0"), u"100"_s);
    }

    void arrowKeysChooseTheLayerCount()
    {
        WindowHarness h;
        QComboBox* count = h.list("selectNoLayers");
        QTest::mouseClick(h.box("txtL"), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), count);
        QTest::keyClick(count, Qt::Key_Down);
        QTest::keyClick(count, Qt::Key_Down);
        QCOMPARE(h.window().analysisState().NoLayers, 3);
        QVERIFY(h.find("txtGama_2")->isVisible());
        QTest::keyClick(count, Qt::Key_Up);
        QCOMPARE(h.window().analysisState().NoLayers, 2);
        QCOMPARE(h.text("txtTo_1"), u"100"_s);
    }

    void mouseChoosesFromTheOpenList()
    {
        WindowHarness h;
        QComboBox* count = h.list("selectNoLayers");
        QTest::mouseClick(count, Qt::LeftButton, {}, QPoint(count->width() - 6, count->height() / 2));
        QAbstractItemView* view = count->view();
        QTRY_VERIFY(view->isVisible());
        // The list ignores a release that comes as quickly as a double click's
        // second half after it opened.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(3, 0)).center());
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(h.window().analysisState().NoLayers, 4);
        QVERIFY(h.find("txtD_3")->isVisible());
    }

    void settingsFile_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("csf");

        // clang-format off
        QTest::newRow("CR LF") << true << QByteArray("Latcap settings\r\n0.75\r\nmore\r\n") << "0.75";
        QTest::newRow("LF written on Linux") << true << QByteArray("Latcap settings\n0.75\n") << "0.75";
        QTest::newRow("CR only") << true << QByteArray("Latcap settings\r0.75\r") << "0.75";
        QTest::newRow("no line end after line 2") << true << QByteArray("x\r\n0.8") << "0.8";
        QTest::newRow("remark kept verbatim") << true << QByteArray("x\r\n0.5 ; remark\r\n") << "0.5 ; remark";
        QTest::newRow("single-byte characters") << true << QByteArray("x\r\n0.6 \xB0\r\n") << u"0.6 \u00B0"_s;
        QTest::newRow("empty line 2") << true << QByteArray("x\r\n\r\n0.9\r\n") << "";
        QTest::newRow("one line only") << true << QByteArray("x\r\n") << "0.5";
        QTest::newRow("empty file") << true << QByteArray() << "0.5";
        QTest::newRow("missing") << false << QByteArray() << "0.5";
        // clang-format on
    }

    void settingsFile()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QFETCH(QString, csf);
        if (present) {
            QFile ini(u"Latcap.ini"_s);
            QVERIFY(ini.open(QIODevice::WriteOnly));
            QCOMPARE(ini.write(content), content.size());
        }
        WindowHarness h;
        QCOMPARE(h.text("txtCSF"), csf);
        QVERIFY(h.platform.messages.isEmpty());
        QVERIFY(h.resultsCleared());
        QCOMPARE(h.text("lblWhat"), QString());
    }

    void tabFollowsTheFocusOrder_data()
    {
        QTest::addColumn<QString>("layers");
        QTest::addColumn<bool>("tablesShown");
        QTest::addColumn<QStringList>("order");

        const QStringList head { u"Text1"_s, u"txtCSF"_s, u"txtH"_s, u"txtM"_s, u"txtL"_s, u"selectNoLayers"_s };
        const QStringList commands { u"cmdGama"_s, u"cmdC"_s, u"cmdFrictionAngle"_s, u"cmdD"_s, u"cmdCalcL"_s,
            u"cmdCalcM"_s, u"cmdExit"_s };
        auto row = [](int i, bool bottom) {
            QStringList names;
            if (bottom)
                names << RowName("txtTo", i);
            names << RowName("txtGama", i) << RowName("txtC", i) << RowName("selectFrictionAngle", i)
                  << RowName("txtD", i);
            return names;
        };
        QTest::newRow("one layer") << "1" << false << head + row(0, false) + commands + QStringList { u"cmdHelp"_s };
        QTest::newRow("three layers, rows in turn")
            << "3" << false
            << head + row(0, true) + row(1, true) + row(2, false) + commands + QStringList { u"cmdHelp"_s };
        QTest::newRow("tables command revealed")
            << "1" << true << head + row(0, false) + commands + QStringList { u"cmdKqKcTables"_s, u"cmdHelp"_s };
    }

    void tabFollowsTheFocusOrder()
    {
        QFETCH(QString, layers);
        QFETCH(bool, tablesShown);
        QFETCH(QStringList, order);
        WindowHarness h;
        h.choose("selectNoLayers", layers);
        if (tablesShown)
            QTest::mouseDClick(&h.window(), Qt::LeftButton, {}, QPoint(650, 400));
        QTest::mouseClick(h.box("Text1"), Qt::LeftButton);

        QStringList visited;
        for (int step = 0; step <= order.size(); ++step) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, order + QStringList { u"Text1"_s });
    }
};

QTEST_MAIN(LayerRowsTest)
#include "LayerRowsTest.moc"
