#include "HelpViewer.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

using namespace latcap;
using namespace Qt::StringLiterals;

namespace {

const QString kHelpFile = QStringLiteral(LATCAP_HELP_FILE);
const QString kTitle = u"Lateral And Moment Pile Capacity - Brinch Hansen Method"_s;

// Clicks the first link to `href` on the shown page, as the user would.
bool ClickLink(QTextBrowser* browser, const QString& href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + 1);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

QToolButton* Button(const HelpViewer& viewer, const char* name)
{
    return viewer.findChild<QToolButton*>(QString::fromLatin1(name));
}

// Opens the help file in `viewer` and shows it on the screen.
bool OpenAndShow(HelpViewer& viewer)
{
    if (!viewer.open(kHelpFile))
        return false;
    viewer.show();
    return QTest::qWaitForWindowExposed(&viewer);
}

int OpenViewers()
{
    int count = 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        count += qobject_cast<HelpViewer*>(window) && window->isVisible() ? 1 : 0;
    return count;
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFile::exists(kHelpFile), qPrintable(kHelpFile)); }

    void everyContentsEntryIsInTheFileAndEveryPageInTheContents()
    {
        ChmFile chm;
        QVERIFY(chm.open(kHelpFile));
        QCOMPARE(chm.title(), u"Latcap Help"_s);
        QCOMPARE(chm.defaultTopic(), u"/index.html"_s);
        QVERIFY(!chm.contents().isEmpty());
        QCOMPARE(chm.contents().first().local, u"index.html"_s);
        QSet<QString> listed;
        const QList<HelpTopic> topics = chm.contents();
        for (const HelpTopic& topic : topics) {
            const QString page = topic.local.section(QLatin1Char('#'), 0, 0);
            QVERIFY2(chm.contains(page), qPrintable(topic.local));
            listed.insert(QLatin1Char('/') + page);
        }
        const QStringList files = chm.files();
        int pages = 0;
        for (const QString& file : files) {
            if (!file.endsWith(QLatin1String(".html")))
                continue;
            ++pages;
            QVERIFY2(listed.contains(file), qPrintable(file + u" is missing from the contents"_s));
        }
        QCOMPARE(pages, 11);

        const QList<HelpTopic> keywords = chm.index();
        QVERIFY(keywords.size() > 20);
        for (const HelpTopic& keyword : keywords)
            QVERIFY2(chm.contains(keyword.local.section(QLatin1Char('#'), 0, 0)), qPrintable(keyword.local));
    }

    void viewerShowsOverviewWithTitleAndPicture()
    {
        HelpViewer viewer;
        QVERIFY(viewer.open(kHelpFile));
        QCOMPARE(viewer.browser()->source().path(), u"/index.html"_s);
        QVERIFY(viewer.browser()->toPlainText().contains(kTitle));
        QVERIFY(viewer.contentsList()->topLevelItemCount() > 5);

        viewer.showTopic(u"method.html#slices"_s);
        QCOMPARE(viewer.browser()->documentTitle(), u"Method and assumptions"_s);
        QCOMPARE(viewer.contentsList()->currentItem()->text(0), u"Slices"_s);
        const QVariant picture = viewer.browser()->loadResource(QTextDocument::ImageResource, QUrl(u"pile.png"_s));
        QVERIFY(!QImage::fromData(picture.toByteArray()).isNull());
    }

    void linksBackForwardAndHome_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("title");
        // clang-format off
        QTest::newRow("page of the contents list") << "method.html" << "Method and assumptions";
        QTest::newRow("page with an anchor") << "reference.html#disclaimer" << "Reference and disclaimer";
        QTest::newRow("last entry of the list") << "reference.html" << "Reference and disclaimer";
        // clang-format on
    }

    void linksBackForwardAndHome()
    {
        QFETCH(QString, href);
        QFETCH(QString, title);
        HelpViewer viewer;
        QVERIFY(OpenAndShow(viewer));
        const QString overview = viewer.browser()->documentTitle();

        QVERIFY(ClickLink(viewer.browser(), href));
        QCOMPARE(viewer.browser()->documentTitle(), title);
        QCOMPARE(viewer.browser()->source().fragment(), href.section(QLatin1Char('#'), 1));

        QVERIFY(Button(viewer, "back")->isEnabled());
        QTest::mouseClick(Button(viewer, "back"), Qt::LeftButton);
        QCOMPARE(viewer.browser()->documentTitle(), overview);
        QTest::mouseClick(Button(viewer, "forward"), Qt::LeftButton);
        QCOMPARE(viewer.browser()->documentTitle(), title);
        QTest::mouseClick(Button(viewer, "home"), Qt::LeftButton);
        QCOMPARE(viewer.browser()->documentTitle(), overview);
    }

    void contentsEntryOpensItsPage()
    {
        HelpViewer viewer;
        QVERIFY(OpenAndShow(viewer));
        const QList<QTreeWidgetItem*> found = viewer.contentsList()->findItems(u"Messages"_s, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTreeWidget* list = viewer.contentsList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
        QVERIFY(viewer.browser()->toPlainText().contains(u"Not Enough Data"_s));
    }

    void indexKeywordOpensItsPage()
    {
        HelpViewer viewer;
        QVERIFY(viewer.open(kHelpFile));
        QTest::keyClicks(viewer.indexFilter(), u"not enough"_s);
        int shown = 0;
        for (int row = 0; row < viewer.indexList()->count(); ++row)
            shown += viewer.indexList()->item(row)->isHidden() ? 0 : 1;
        QCOMPARE(shown, 1);
        QTest::keyClick(viewer.indexFilter(), Qt::Key_Return);
        QCOMPARE(viewer.browser()->documentTitle(), u"Messages and what to do about them"_s);
        QCOMPARE(viewer.browser()->source().fragment(), u"notenough"_s);
    }

    void unreadableFileIsReportedInTheViewer_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a help file") << QByteArray("Latcap.chm is not this\n");
    }

    void unreadableFileIsReportedInTheViewer()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Latcap.chm"_s);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        HelpViewer viewer;
        QString error;
        QVERIFY(!viewer.open(path, &error));
        QVERIFY(error.contains(path));
        QVERIFY(viewer.browser()->toPlainText().contains(error));
        QCOMPARE(viewer.contentsList()->topLevelItemCount(), 0);
    }

    void findHelpFileTakesTheFirstFolderThatHasIt_data()
    {
        QTest::addColumn<QList<int>>("holding"); // folders (0 beside, 1 data, 2 working) with a Latcap.chm
        QTest::addColumn<bool>("folderBeside");  // a folder named Latcap.chm beside the program
        QTest::addColumn<int>("found");          // -1: none
        QTest::newRow("nowhere") << QList<int>{} << false << -1;
        QTest::newRow("only in the working directory") << QList<int>{2} << false << 2;
        QTest::newRow("only in the data folder") << QList<int>{1} << false << 1;
        QTest::newRow("beside the program wins") << QList<int>{0, 1, 2} << false << 0;
        QTest::newRow("data folder before working directory") << QList<int>{1, 2} << false << 1;
        QTest::newRow("a folder of that name is no help file") << QList<int>{2} << true << 2;
    }

    void findHelpFileTakesTheFirstFolderThatHasIt()
    {
        QFETCH(QList<int>, holding);
        QFETCH(bool, folderBeside);
        QFETCH(int, found);
        QTemporaryDir root;
        QStringList folders;
        for (const char* name : {"bin", "share", "work"}) {
            QVERIFY(QDir(root.path()).mkdir(QString::fromLatin1(name)));
            folders.append(root.filePath(QString::fromLatin1(name)));
        }
        if (folderBeside)
            QVERIFY(QDir(folders[0]).mkdir(u"Latcap.chm"_s));
        for (int i : holding)
            QVERIFY(QFile::copy(kHelpFile, QDir(folders[i]).filePath(u"Latcap.chm"_s)));

        QStringList lookedIn{u"stale"_s};
        const QString path = FindHelpFile(folders, &lookedIn);
        QCOMPARE(path, found < 0 ? QString() : QDir(folders[found]).filePath(u"Latcap.chm"_s));
        QCOMPARE(lookedIn, folders.mid(0, found < 0 ? 3 : found + 1));
        if (found < 0) {
            const QString text = HelpNotFoundText(lookedIn);
            for (const QString& folder : folders)
                QVERIFY(text.contains(folder));
        }
    }

    void helpFoldersAreProgramDataAndWorkingDirectory()
    {
        const QStringList folders = HelpFolders();
        QCOMPARE(folders.size(), 3);
        QCOMPARE(folders[0], QCoreApplication::applicationDirPath());
        QVERIFY(folders[1].endsWith(QLatin1String("share/latcap")));
        QCOMPARE(folders[2], QDir::currentPath());
    }

    void showHelpWindowOpensOneViewerAndRaisesIt()
    {
        QWidget owner;
        ShowHelpWindow(&owner, kHelpFile);
        ShowHelpWindow(&owner, kHelpFile);
        QCOMPARE(OpenViewers(), 1);
        auto* viewer = owner.findChild<HelpViewer*>();
        QVERIFY(viewer);
        QVERIFY(viewer->browser()->toPlainText().contains(kTitle));
        QSignalSpy destroyed(viewer, &QObject::destroyed);
        viewer->close();
        QTRY_COMPARE(destroyed.count(), 1);
        ShowHelpWindow(&owner, kHelpFile);
        QCOMPARE(OpenViewers(), 1);
    }
};

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
