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

namespace {

const QString kHelpFile = QStringLiteral(LATCAP_HELP_FILE);
const QString kTitle = QStringLiteral("Lateral And Moment Pile Capacity - Brinch Hansen Method");

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

    void helpFileHasTitleAndOverviewFirst()
    {
        ChmFile chm;
        QVERIFY(chm.open(kHelpFile));
        QCOMPARE(chm.title(), QStringLiteral("Latcap Help"));
        QCOMPARE(chm.defaultTopic(), QStringLiteral("/index.html"));
        QVERIFY(!chm.contents().isEmpty());
        QCOMPARE(chm.contents().first().local, QStringLiteral("index.html"));
    }

    void everyContentsEntryIsInTheFileAndEveryPageInTheContents()
    {
        ChmFile chm;
        QVERIFY(chm.open(kHelpFile));
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
            QVERIFY2(listed.contains(file), qPrintable(file + QStringLiteral(" is missing from the contents")));
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
        QCOMPARE(viewer.browser()->source().path(), QStringLiteral("/index.html"));
        QVERIFY(viewer.browser()->toPlainText().contains(kTitle));
        QVERIFY(viewer.contentsList()->topLevelItemCount() > 5);

        viewer.showTopic(QStringLiteral("method.html#slices"));
        QCOMPARE(viewer.browser()->documentTitle(), QStringLiteral("Method and assumptions"));
        QCOMPARE(viewer.contentsList()->currentItem()->text(0), QStringLiteral("Slices"));
        const QVariant picture = viewer.browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pile.png")));
        QVERIFY(!QImage::fromData(picture.toByteArray()).isNull());
    }

    void linksBackForwardAndHome_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("title");
        QTest::newRow("page of the contents list") << "method.html" << "Method and assumptions";
        QTest::newRow("page with an anchor") << "reference.html#disclaimer" << "Reference and disclaimer";
        QTest::newRow("last entry of the list") << "reference.html" << "Reference and disclaimer";
    }

    void linksBackForwardAndHome()
    {
        QFETCH(QString, href);
        QFETCH(QString, title);
        HelpViewer viewer;
        QVERIFY(viewer.open(kHelpFile));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
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
        QVERIFY(viewer.open(kHelpFile));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QList<QTreeWidgetItem*> found = viewer.contentsList()->findItems(QStringLiteral("Messages"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTreeWidget* list = viewer.contentsList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
        QVERIFY(viewer.browser()->toPlainText().contains(QStringLiteral("Not Enough Data")));
    }

    void indexKeywordOpensItsPage()
    {
        HelpViewer viewer;
        QVERIFY(viewer.open(kHelpFile));
        QTest::keyClicks(viewer.indexFilter(), QStringLiteral("not enough"));
        int shown = 0;
        for (int row = 0; row < viewer.indexList()->count(); ++row)
            shown += viewer.indexList()->item(row)->isHidden() ? 0 : 1;
        QCOMPARE(shown, 1);
        QTest::keyClick(viewer.indexFilter(), Qt::Key_Return);
        QCOMPARE(viewer.browser()->documentTitle(), QStringLiteral("Messages and what to do about them"));
        QCOMPARE(viewer.browser()->source().fragment(), QStringLiteral("notenough"));
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
        const QString path = dir.filePath(QStringLiteral("Latcap.chm"));
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
            QVERIFY(QDir(folders[0]).mkdir(QStringLiteral("Latcap.chm")));
        for (int i : holding)
            QVERIFY(QFile::copy(kHelpFile, QDir(folders[i]).filePath(QStringLiteral("Latcap.chm"))));

        QStringList lookedIn{QStringLiteral("stale")};
        const QString path = FindHelpFile(folders, &lookedIn);
        QCOMPARE(path, found < 0 ? QString() : QDir(folders[found]).filePath(QStringLiteral("Latcap.chm")));
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
