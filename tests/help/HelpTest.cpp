#include "DesktopPlatform.h"
#include "HelpViewer.h"

#include <QtTest>
#include <QtWidgets>

using namespace latcap;
using namespace Qt::StringLiterals;

namespace {

const QString kHelpFile = QStringLiteral(LATCAP_HELP_FILE);

QString PageOf(const QString& local) { return local.section(u'#', 0, 0); }

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyEntryLeadsToAPageAndEveryPageIsInTheContents()
    {
        HelpFile help;
        QVERIFY(help.open(kHelpFile));
        QCOMPARE(help.title() + help.defaultTopic(), u"Latcap Help/index.html"_s);
        const QList<HelpTopic> contents = help.contents();
        QVERIFY(help.index().size() > 20);
        for (const HelpTopic& topic : contents + help.index())
            QVERIFY2(help.contains(PageOf(topic.local)), qPrintable(topic.local));
        QStringList pages = help.files().filter(QRegularExpression(u"\\.html$"_s));
        QCOMPARE(pages.size(), 11);
        for (const HelpTopic& topic : contents)
            pages.removeAll(u'/' + PageOf(topic.local));
        QVERIFY2(pages.isEmpty(), qPrintable(pages.join(u' ')));
    }

    void damagedFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all; "/": a folder
        QTest::addColumn<QString>("reason");
        QFile help(kHelpFile);
        QVERIFY(help.open(QIODevice::ReadOnly));
        QTest::newRow("missing file") << QByteArray() << u"The file does not exist."_s;
        QTest::newRow("a folder of that name") << QByteArray("/") << u"The file cannot be read."_s;
        QTest::newRow("not a help file") << QByteArray("ITSF and no more\n")
                                         << u"The file is not a compiled help file."_s;
        QTest::newRow("cut short") << help.read(4096) << u"The file is damaged: its first page cannot be read."_s;
    }

    void damagedFileIsRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Latcap.chm"_s);
        QFile file(path);
        QVERIFY(content.isNull() || (content == "/" ? QDir().mkdir(path) : file.open(QIODevice::WriteOnly)));
        file.write(content);
        file.close();
        HelpFile help;
        QString error;
        QVERIFY(!help.open(path, &error));
        QCOMPARE(error, reason);
        HelpViewer viewer;
        QVERIFY(!viewer.open(path));
        const QString shown = viewer.findChild<QTextBrowser*>()->toPlainText();
        QVERIFY2(shown.contains(reason) && shown.contains(path), qPrintable(shown));
    }

    void findHelpFile_data()
    {
        QTest::addColumn<QString>("holding"); // beside the program, data, working: f a file, d a folder, - none
        QTest::addColumn<int>("found");
        QTest::newRow("nowhere: every folder is named") << u"---"_s << -1;
        QTest::newRow("the first folder that has it wins") << u"-ff"_s << 1;
        QTest::newRow("beside the program comes first") << u"fff"_s << 0;
        QTest::newRow("a folder of that name is no help file") << u"d-f"_s << 2;
    }

    void findHelpFile()
    {
        QFETCH(QString, holding);
        QFETCH(int, found);
        QTemporaryDir root;
        QStringList folders;
        for (int i = 0; i < 3; ++i) {
            folders.append(root.filePath(QString::number(i)));
            const QString chm = folders[i] + u"/Latcap.chm"_s;
            QVERIFY(QDir().mkpath(holding[i] == u'd' ? chm : folders[i]));
            QVERIFY(holding[i] != u'f' || QFile(chm).open(QIODevice::WriteOnly));
        }
        QStringList lookedIn { u"stale"_s };
        QCOMPARE(FindHelpFile(folders, &lookedIn), found < 0 ? QString() : folders[found] + u"/Latcap.chm"_s);
        QCOMPARE(lookedIn, folders.mid(0, found < 0 ? 3 : found + 1));
        QCOMPARE(HelpNotFoundText(lookedIn),
            u"The help file Latcap.chm was not found. It was looked for in:\n"_s + lookedIn.join(u'\n'));
    }

    void viewerFollowsLinksHistoryContentsAndIndex()
    {
        HelpViewer viewer;
        QVERIFY(viewer.open(kHelpFile));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        auto* page = viewer.findChild<QTextBrowser*>(u"page"_s);
        auto shown = [page] { return page->documentTitle() + u'#' + page->source().fragment(); };
        auto click = [&viewer](const char* name) {
            QTest::mouseClick(viewer.findChild<QToolButton*>(QLatin1String(name)), Qt::LeftButton);
        };
        const QString overview = shown();
        QVERIFY(page->toPlainText().contains(u"Lateral And Moment Pile Capacity - Brinch Hansen Method"_s));
        QVERIFY(!QImage::fromData(page->loadResource(QTextDocument::ImageResource, QUrl(u"pile.png"_s)).toByteArray())
                     .isNull());

        Q_EMIT page->anchorClicked(QUrl(u"reference.html#disclaimer"_s));
        QCOMPARE(shown(), u"Reference and disclaimer#disclaimer"_s);
        click("back");
        QCOMPARE(shown(), overview);
        click("forward");
        QCOMPARE(shown(), u"Reference and disclaimer#disclaimer"_s);
        click("home");
        QCOMPARE(shown(), overview);

        auto* contents = viewer.findChild<QTreeWidget*>(u"contents"_s);
        viewer.showTopic(u"method.html#slices"_s);
        QCOMPARE(contents->currentItem()->text(0), u"Slices"_s);
        const QTreeWidgetItem* messages = contents->findItems(u"Messages"_s, Qt::MatchExactly).value(0);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(messages).center());
        QCOMPARE(shown(), u"Messages and what to do about them#"_s);

        auto* filter = viewer.findChild<QLineEdit*>(u"indexFilter"_s);
        viewer.showTopic(u"index.html"_s);
        QTest::keyClicks(filter, u"not enough"_s);
        const QList<QListWidgetItem*> keywords
            = viewer.findChild<QListWidget*>(u"index"_s)->findItems({}, Qt::MatchContains);
        QCOMPARE(std::count_if(keywords.begin(), keywords.end(), [](auto* item) { return !item->isHidden(); }), 1);
        QTest::keyClick(filter, Qt::Key_Return);
        QCOMPARE(shown(), u"Messages and what to do about them#notenough"_s);
    }

    void helpCommandOpensOneViewerAtATime()
    {
        QWidget owner;
        DesktopPlatform platform;
        for (int round = 0; round < 2; ++round) {
            platform.showHelp(&owner);
            platform.showHelp(&owner);
            const QList<HelpViewer*> viewers = owner.findChildren<HelpViewer*>();
            QCOMPARE(viewers.size(), 1);
            QVERIFY(viewers[0]->isVisible());
            QCOMPARE(viewers[0]->chmPath(), kHelpFile);
            QSignalSpy closed(viewers[0], &QObject::destroyed);
            viewers[0]->close();
            QTRY_COMPARE(closed.count(), 1);
        }
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
