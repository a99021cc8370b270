// The window typed into and clicked as a user does, on a recording platform.
// The cases are scripts in cases/*.txt: "case: <name>" opens a case (a row),
// "steps: <name>" a set of steps that cases can run; each further line is
// one step, a verb, mostly a control's name, and the rest of the line.

#include "Diagrams.h"
#include "DiagramsWindow.h"
#include "FakePlatform.h"
#include "FileSizeLimit.h"
#include "frmLatcap.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cstdio>
#include <memory>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QString Row(QStringView array, int row) { return array.toString() + u'_' + QString::number(row); }

QMap<QString, QStringList> ReadScripts(QStringList& cases)
{
    QMap<QString, QStringList> scripts;
    QString current;
    const QDir dir(QStringLiteral(WINDOW_CASES));
    const QStringList files = dir.entryList({ u"*.txt"_s }, QDir::Files, QDir::Name);
    for (const QString& file : std::as_const(files)) {
        for (const QString& line : QString::fromUtf8(ReadAll(dir.filePath(file))).split(u'\n')) {
            if (line.startsWith(u"case: "_s) || line.startsWith(u"steps: "_s)) {
                current = line.section(u' ', 1);
                if (line.startsWith(u'c'))
                    cases << current;
            } else if (!line.isEmpty() && !line.startsWith(u'#'))
                scripts[current] << line;
        }
    }
    return scripts;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        if (QTest::currentTestFailed())
            qWarning("failed at the step: %s", qPrintable(step_));
        diskLimit_.reset();
        window_.reset();
        QDir::setCurrent(previousDir_);
        dir_.reset();
        for (const QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void script_data()
    {
        QTest::addColumn<QString>("name");
        QStringList cases;
        scripts_ = ReadScripts(cases);
        for (const QString& name : std::as_const(cases))
            QTest::newRow(qPrintable(name)) << name;
    }

    void script()
    {
        QFETCH(QString, name);
        dir_ = std::make_unique<QTemporaryDir>();
        previousDir_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_->path()));
        platform_ = std::make_unique<latcap::testing::FakePlatform>();
        askedAsUsual_ = false;
        Run(name);
    }

private:
    // The window opens at the first step that needs it, after any settings file.
    latcap::frmLatcap& window()
    {
        if (!window_) {
            window_ = std::make_unique<latcap::frmLatcap>(*platform_);
            window_->show();
            (void)QTest::qWaitForWindowActive(window_.get());
            platform_->whileMessageShown
                = [this, usual = window_->palette()](const latcap::testing::FakePlatform::Message&) {
                      askedAsUsual_ = window_->palette() == usual && find(u"cmdPrint"_s)->isVisible();
                  };
        }
        return *window_;
    }

    QWidget* find(const QString& name)
    {
        if (name == u"frmLatcap"_s)
            return &window();
        auto* widget = window().findChild<QWidget*>(name);
        if (widget == nullptr)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }

    // What a label, a box or the text field of a list shows.
    QString text(const QString& name)
    {
        QWidget* w = find(name);
        return w->property(qobject_cast<QComboBox*>(w) != nullptr ? "currentText" : "text").toString();
    }

    // Where typing and clicking go: a box, or the text field of a list.
    QWidget* field(const QString& name)
    {
        auto* combo = qobject_cast<QComboBox*>(find(name));
        return combo != nullptr ? combo->lineEdit() : find(name);
    }

    // Opens a list on its arrow, walks to the item with the arrow keys and takes it with Return.
    void choose(const QString& name, const QString& item)
    {
        auto* combo = qobject_cast<QComboBox*>(find(name));
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 6, combo->height() / 2));
        QAbstractItemView* view = combo->view();
        QTRY_VERIFY(view->isVisible());
        const int index = combo->findText(item); // -1 when missing: the first item is taken
        for (int row = view->currentIndex().row(); row != index; row += row < index ? 1 : -1)
            QTest::keyClick(view, row < index ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
        // The offscreen platform leaves the closed list active.
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

    // The deepest of `layers` shown rows ends at a fixed 100 m, the others
    // are open, every top follows the bottom above, and no other row shows.
    void checkRows(int layers)
    {
        for (int row = 0; row < 5; ++row) {
            for (const char16_t* array :
                { u"lblLayerNo", u"txtFrom", u"txtTo", u"txtGama", u"txtC", u"selectFrictionAngle", u"txtD" })
                QCOMPARE(find(Row(array, row))->isVisible(), row < layers);
            QCOMPARE(find(Row(u"txtTo", row))->isEnabled(), row != layers - 1);
            QVERIFY(!find(Row(u"txtFrom", row))->isEnabled());
            QCOMPARE(text(Row(u"txtFrom", row)), row == 0 ? u"0"_s : text(Row(u"txtTo", row - 1)));
        }
        QCOMPARE(text(Row(u"txtTo", layers - 1)), u"100"_s);
    }

    // The window, or the named top-level window, under a plain title bar,
    // saved into the folder LATCAP_PICTURES names.
    void grab(const QString& file, const QString& which)
    {
        const QString folder = qEnvironmentVariable("LATCAP_PICTURES");
        if (folder.isEmpty())
            return;
        QWidget* shown = which.isEmpty() ? &window() : window().findChild<QWidget*>(which);
        const QImage inside = shown->grab().toImage();
        QImage picture(inside.width(), inside.height() + 26, QImage::Format_RGB32);
        picture.fill(QColor(60, 64, 72));
        QPainter painter(&picture);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, picture.width(), 26), Qt::AlignCenter,
            shown->windowTitle().replace(u"[*]"_s, shown->isWindowModified() ? u"*"_s : QString()));
        painter.drawImage(0, 26, inside);
        painter.end();
        QVERIFY(picture.save(QDir(folder).filePath(file)));
    }

    void Run(const QString& script)
    {
        QVERIFY2(scripts_.contains(script), qPrintable(script));
        for (const QString& line : scripts_.value(script)) {
            step_ = line;
            const QString verb = line.section(u' ', 0, 0);
            const QString name = line.section(u' ', 1, 1);
            const QString rest = line.section(u' ', 2);
            const QStringList numbers = rest.split(u',');
            if (verb == u"run"_s) {
                Run(line.section(u' ', 1));
            } else if (verb == u"write"_s) { // a file in the working folder, with \r and \n for line breaks
                const QString content = QString(rest).replace(u"\\r"_s, u"\r"_s).replace(u"\\n"_s, u"\n"_s);
                QFile file(name);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content.toLatin1()) == content.size());
            } else if (verb == u"type"_s) {
                QWidget* box = field(name);
                QTest::mouseClick(box, Qt::LeftButton);
                QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(box, rest);
            } else if (verb == u"choose"_s) {
                choose(name, rest);
            } else if (verb == u"click"_s) {
                QTest::mouseClick(field(name), Qt::LeftButton);
            } else if (verb == u"dclick"_s) {
                QTest::mouseDClick(find(name), Qt::LeftButton, {}, QPoint(numbers[0].toInt(), numbers[1].toInt()));
            } else if (verb == u"key"_s) {
                const QKeyCombination keys = QKeySequence(rest)[0];
                QTest::keyClick(find(name), keys.key(), keys.keyboardModifiers());
            } else if (verb == u"save"_s) {
                platform_->fileNames.enqueue(QDir::current().filePath(name));
            } else if (verb == u"open"_s) {
                platform_->openNames.enqueue(name);
            } else if (verb == u"answer"_s) { // to the unsaved-changes question
                platform_->unsavedAnswers.enqueue(name == u"save"_s ? latcap::Platform::Unsaved::Save
                        : name == u"discard"_s                      ? latcap::Platform::Unsaved::Discard
                                                                    : latcap::Platform::Unsaved::Cancel);
            } else if (verb == u"jobform"_s) { // "jobform cancel", or "jobform project|job|...|revision"
                const QStringList f = line.section(u' ', 1).split(u'|');
                platform_->jobAnswers.enqueue(name == u"cancel"_s
                        ? std::nullopt
                        : std::optional(latcap::JobDetails { f.value(0).toStdString(), f.value(1).toStdString(),
                            f.value(2).toStdString(), f.value(3).toStdString(), f.value(4).toStdString(),
                            f.value(5).toStdString() }));
            } else if (verb == u"asked"_s) {
                QCOMPARE(platform_->unsavedQuestions.join(u" | "_s), line.section(u' ', 1));
            } else if (verb == u"drop"_s) {
                QMimeData data;
                data.setUrls({ QUrl::fromLocalFile(QDir::current().filePath(name)) });
                QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(&window(), &enter);
                QVERIFY(enter.isAccepted());
                QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(&window(), &drop);
            } else if (verb == u"marked"_s) { // "marked NAME yes|no TOOL TIP"
                QCOMPARE(find(name)->property("misread").toBool(), rest.section(u' ', 0, 0) == u"yes"_s);
                QCOMPARE(find(name)->toolTip(), rest.section(u' ', 1));
            } else if (verb == u"wheel"_s) { // turned over a list that does not have the focus
                QWidget* list = find(name);
                QVERIFY(!list->hasFocus());
                QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                    {}, Qt::NoScrollPhase, false);
                QApplication::sendEvent(list, &wheel);
            } else if (verb == u"pdftext"_s) {
                QProcess pdf;
                pdf.start(u"pdftotext"_s, { name, u"-"_s });
                QVERIFY(pdf.waitForFinished());
                QVERIFY(QString::fromUtf8(pdf.readAllStandardOutput()).contains(rest));
            } else if (verb == u"diagrams"_s) { // "diagrams shown|empty", the window and its drawing
                auto* diagrams = window().findChild<latcap::DiagramsWindow*>();
                QVERIFY(diagrams != nullptr && diagrams->isVisible());
                QCOMPARE(diagrams->isEmpty(), name == u"empty"_s);
                QCOMPARE(diagrams->windowTitle(), rest);
                // Its smallest text at least as large as the main window's.
                const double scale = std::min(double(diagrams->width() - 24) / latcap::kDiagramSize.width(),
                    double(diagrams->height() - 24) / latcap::kDiagramSize.height());
                QVERIFY(scale * latcap::kDiagramSmallestText >= QFontInfo(window().font()).pixelSize());
            } else if (verb == u"looks"_s) { // "looks NAME CONTROL": pixel for pixel as kept in tests/data/window
                const QImage kept(QStringLiteral(LATCAP_TEST_DATA "/window/") + name);
                const QImage now = find(rest)->grab().toImage().convertToFormat(QImage::Format_RGB32);
                if (now != kept.convertToFormat(QImage::Format_RGB32)) {
                    now.save(QDir::current().filePath(name));
                    QFAIL(qPrintable(u"the window differs from the kept "_s + name + u"; it looks like "_s
                        + QDir::current().filePath(name)));
                }
            } else if (verb == u"grab"_s) { // a picture for the documents, when a folder is given
                grab(name, rest);
            } else if (verb == u"exit"_s) {
                window().close();
            } else if (verb == u"title"_s) {
                QCOMPARE(window().windowTitle().replace(u"[*]"_s, window().isWindowModified() ? u"*"_s : QString()),
                    line.section(u' ', 1));
            } else if (verb == u"line"_s) {
                QVERIFY(QString::fromUtf8(ReadAll(name)).split(u'\n').contains(rest));
            } else if (verb == u"batch"_s) { // the file through latcap-batch shows what the window shows
                QProcess batch;
                batch.start(QStringLiteral(LATCAP_BATCH), { rest, name });
                QVERIFY(batch.waitForFinished());
                const QString answer = rest == u"calc-l"_s ? u"L = "_s + text(u"txtL"_s) : u"M = "_s + text(u"txtM"_s);
                QCOMPARE(QString::fromUtf8(batch.readAllStandardOutput()),
                    QStringList({ answer, text(u"lblZr"_s), text(u"lblMoment"_s), text(u"lblShear"_s), {} })
                        .join(u'\n'));
            } else if (verb == u"printfail"_s) {
                platform_->printError = line.section(u' ', 1);
            } else if (verb == u"text"_s) {
                QCOMPARE(text(name), rest);
            } else if (verb == u"selected"_s) {
                QCOMPARE(qobject_cast<QLineEdit*>(find(name))->selectedText(), rest);
            } else if (verb == u"place"_s) {
                QCOMPARE(find(name)->geometry(),
                    QRect(numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt()));
            } else if (verb == u"shown"_s) {
                QCOMPARE(find(name)->isVisible(), rest == u"yes"_s);
            } else if (verb == u"focus"_s) { // "focus A B C": on A, and Tab moves it to B, then to C
                const QStringList names = line.section(u' ', 1).split(u' ');
                for (qsizetype i = 0; i < names.size(); ++i) {
                    if (i > 0)
                        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    const QWidget* focused = QApplication::focusWidget();
                    QCOMPARE(focused != nullptr ? focused->objectName() : QString(), names[i]);
                }
            } else if (verb == u"rows"_s) {
                checkRows(name.toInt());
            } else if (verb == u"column"_s) {
                for (int row = 0; row < 5; ++row)
                    QCOMPARE(text(Row(name, row)), rest);
            } else if (verb == u"results"_s) {
                for (const QString& label : { u"lblZr"_s, u"lblMoment"_s, u"lblShear"_s })
                    QCOMPARE(text(label).isEmpty(), name == u"cleared"_s);
                for (const QString& command : { u"cmdPrint"_s, u"cmdExport"_s, u"cmdReport"_s })
                    QCOMPARE(find(command)->isEnabled(), name == u"shown"_s);
            } else if (verb == u"messages"_s) {
                QStringList shown;
                for (const auto& message : std::as_const(platform_->messages))
                    shown << message.title + u": "_s + QString(message.text).replace(QDir::currentPath(), u"{dir}"_s);
                QCOMPARE(shown.join(u" | "_s), line.section(u' ', 1).replace(u"\\n"_s, u"\n"_s));
            } else if (verb == u"asked-as-usual"_s) {
                QVERIFY(askedAsUsual_);
            } else if (verb == u"file"_s) {
                QCOMPARE(ReadAll(name), ReadAll(QStringLiteral(LATCAP_TEST_DATA "/") + rest));
            } else if (verb == u"paper"_s) {
                const QRect place = find(name)->geometry();
                QImage white(place.size(), QImage::Format_RGB32);
                white.fill(Qt::white);
                QCOMPARE(platform_->printed.value(0).copy(place).convertToFormat(QImage::Format_RGB32) == white,
                    rest == u"blank"_s);
            } else if (verb == u"badname"_s) { // a file whose name has the byte 0xff for each U+FFFD
                QByteArray bytes = name.toUtf8();
                bytes.replace("\xef\xbf\xbd", "\xff");
                const QByteArray content = QString(rest).replace(u"\\n"_s, u"\n"_s).toUtf8();
                FILE* file = std::fopen(bytes.constData(), "wb");
                QVERIFY(file != nullptr);
                QCOMPARE(std::fwrite(content.constData(), 1, std::size_t(content.size()), file),
                    std::size_t(content.size()));
                std::fclose(file);
            } else if (verb == u"form"_s) { // "form cancel", or "form TEXT|TEXT|..." for the next form's fields
                platform_->formAnswers.enqueue(
                    name == u"cancel"_s ? std::nullopt : std::optional(line.section(u' ', 1).split(u'|')));
            } else if (verb == u"enabled"_s) {
                QCOMPARE(find(name)->isEnabled(), rest == u"yes"_s);
            } else if (verb == u"tip"_s) { // "tip NAME TEXT", \n for a line break
                QCOMPARE(find(name)->toolTip(), QString(rest).replace(u"\\n"_s, u"\n"_s));
            } else if (verb == u"mkdir"_s) {
                QVERIFY(QDir::current().mkdir(name));
            } else if (verb == u"unreadable"_s) { // the window opens while the file cannot be read
                QVERIFY(QFile::setPermissions(name, {}));
                // Root reads any file, so the window opens as nobody would.
                const bool root = geteuid() == 0;
                if (root) {
                    QVERIFY(chmod(".", 0711) == 0);
                    QVERIFY(seteuid(65534) == 0);
                }
                window();
                QVERIFY(!root || seteuid(0) == 0);
            } else if (verb == u"disklimit"_s) { // "disklimit BYTES": no file grows past them; "disklimit off"
                diskLimit_.reset();
                if (name != u"off"_s)
                    diskLimit_.emplace(name.toULong());
            } else if (verb == u"holds"_s) { // the whole file, with \r and \n for line breaks
                QCOMPARE(ReadAll(name), QString(rest).replace(u"\\r"_s, u"\r"_s).replace(u"\\n"_s, u"\n"_s).toUtf8());
            } else if (verb == u"folder"_s) { // every file in the working folder
                QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(u' '),
                    line.section(u' ', 1));
            } else if (verb == u"help"_s) {
                QCOMPARE(platform_->helpRequests, name.toInt());
            } else {
                QFAIL(qPrintable(u"unknown step: "_s + line));
            }
            if (QTest::currentTestFailed())
                return;
        }
    }

    QMap<QString, QStringList> scripts_;
    QString step_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<latcap::testing::FakePlatform> platform_;
    std::unique_ptr<latcap::frmLatcap> window_;
    bool askedAsUsual_ = false;
    std::optional<latcap::testing::FileSizeLimit> diskLimit_;
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
