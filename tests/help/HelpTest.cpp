#include "DesktopPlatform.h"
#include "HelpViewer.h"

#include <QtTest>
#include <QtWidgets>

using namespace latcap;
using namespace Qt::StringLiterals;

namespace {

const QString kHelpFile = QStringLiteral(LATCAP_HELP_FILE);

QString PageOf(const HelpTopic& topic) { return u'/' + topic.local.section(u'#', 0, 0); }

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyEntryLeadsToAPageAndEveryPageIsInTheContents()
    {
        HelpFile help;
        QVERIFY(help.open(kHelpFile));
        QCOMPARE(help.title() + help.defaultTopic(), u"Latcap Help/index.html"_s);
        QVERIFY(help.index().size() > 20);
        for (const HelpTopic& topic : help.contents() + help.index())
            QVERIFY2(help.contains(PageOf(topic)), qPrintable(topic.local));
        QStringList pages = help.files().filter(QRegularExpression(u"\\.html$"_s));
        QCOMPARE(pages.size(), 11);
        for (const HelpTopic& topic : help.contents())
            pages.removeAll(PageOf(topic));
        QVERIFY2(pages.isEmpty(), qPrintable(pages.join(u' ')));
    }

    void damagedFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all; "/": a folder
        QTest::addColumn<QString>("reason");
        QFile help(kHelpFile);
        QVERIFY(help.open(QIODevice::ReadOnly));
        // clang-format off
        QTest::newRow("missing file") << QByteArray() << u"The file does not exist."_s;
        QTest::newRow("a folder of that name") << QByteArray("/") << u"The file cannot be read."_s;
        QTest::newRow("not a help file") << QByteArray("ITSF and no more\n") << u"The file is not a compiled help file."_s;
        QTest::newRow("cut short") << help.read(4096) << u"The file is damaged: its first page cannot be read."_s;
        // clang-format on
    }

    void damagedFileIsRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Latcap.chm"_s);
        QFile file(path);
        QVERIFY(content.isNull() || (content == "/" ? QDir().mkdir(path) : file.open(QIODevice::WriteOnly)));
        QVERIFY(!file.isOpen() || file.write(content) == content.size());
        file.close();
        QString error;
        QVERIFY(!HelpFile().open(path, &error));
        QCOMPARE(error, reason);
        HelpViewer viewer;
        QVERIFY(!viewer.open(path));
        QVERIFY(viewer.findChild<QTextBrowser*>()->toPlainText().contains(path + u" cannot be opened. "_s + reason));
    }

    void helpFileIsTheFirstFileOfThatNameInTheFolders()
    {
        QTemporaryDir root;
        const QStringList folders { root.filePath(u"a"_s), root.filePath(u"b"_s), root.filePath(u"c"_s) };
        const QString name = u"/Latcap.chm"_s;
        QVERIFY(QDir().mkpath(folders[0] + name) && QDir().mkpath(folders[1]) && QDir().mkpath(folders[2]));
        QVERIFY(
            QFile(folders[1] + name).open(QIODevice::WriteOnly) && QFile(folders[2] + name).open(QIODevice::WriteOnly));
        QStringList lookedIn { u"stale"_s };
        QCOMPARE(FindHelpFile(folders, &lookedIn), folders[1] + name);
        QCOMPARE(lookedIn, folders.mid(0, 2));
        QCOMPARE(FindHelpFile(folders.mid(0, 1), &lookedIn), QString());
        // An installation under any prefix finds its help beside its bin folder.
        QVERIFY(
            HelpFolders().contains(QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../share/latcap"_s)));
        QCOMPARE(HelpNotFoundText(folders),
            u"The help file Latcap.chm was not found. It was looked for in:\n"_s + folders.join(u'\n'));
    }

    void helpCommandShowsOneViewerThatFollowsLinksHistoryContentsAndIndex()
    {
        QWidget owner;
        DesktopPlatform().showHelp(&owner);
        DesktopPlatform().showHelp(&owner);
        QCOMPARE(owner.findChildren<HelpViewer*>().size(), 1);
        HelpViewer* viewer = owner.findChild<HelpViewer*>();
        QCOMPARE(viewer->chmPath(), kHelpFile);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        auto* page = viewer->findChild<QTextBrowser*>(u"page"_s);
        auto shown = [page] { return page->documentTitle() + u'#' + page->source().fragment(); };
        const QString overview = shown();
        QVERIFY(page->toPlainText().contains(u"Lateral And Moment Pile Capacity - Brinch Hansen Method"_s));
        QVERIFY(!QImage::fromData(page->loadResource(QTextDocument::ImageResource, QUrl(u"pile.png"_s)).toByteArray())
                     .isNull());

        Q_EMIT page->anchorClicked(QUrl(u"reference.html#disclaimer"_s));
        QCOMPARE(shown(), u"Reference and disclaimer#disclaimer"_s);
        QTest::mouseClick(viewer->findChild<QToolButton*>(u"back"_s), Qt::LeftButton);
        QCOMPARE(shown(), overview);
        QTest::mouseClick(viewer->findChild<QToolButton*>(u"forward"_s), Qt::LeftButton);
        QCOMPARE(shown(), u"Reference and disclaimer#disclaimer"_s);
        QTest::mouseClick(viewer->findChild<QToolButton*>(u"home"_s), Qt::LeftButton);
        QCOMPARE(shown(), overview);

        auto* contents = viewer->findChild<QTreeWidget*>(u"contents"_s);
        viewer->showTopic(u"method.html#slices"_s);
        QCOMPARE(contents->currentItem()->text(0), u"Slices"_s);
        QVERIFY(contents->currentItem()->parent() != nullptr); // a section under its page
        const QTreeWidgetItem* messages = contents->findItems(u"Messages"_s, Qt::MatchExactly).value(0);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(messages).center());
        QCOMPARE(shown(), u"Messages and what to do about them#"_s);

        auto* filter = viewer->findChild<QLineEdit*>(u"indexFilter"_s);
        QTest::keyClicks(filter, u"not enough"_s);
        const auto keywords = viewer->findChild<QListWidget*>(u"index"_s)->findItems({}, Qt::MatchContains);
        QCOMPARE(std::count_if(keywords.begin(), keywords.end(), [](auto* item) { return !item->isHidden(); }), 1);
        viewer->showTopic(u"index.html"_s);
        QTest::keyClick(filter, Qt::Key_Return);
        QCOMPARE(shown(), u"Messages and what to do about them#notenough"_s);

        QSignalSpy closed(viewer, &QObject::destroyed);
        viewer->close();
        QTRY_COMPARE(closed.count(), 1);
        DesktopPlatform().showHelp(&owner);
        QVERIFY(owner.findChild<HelpViewer*>()->isVisible());
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
