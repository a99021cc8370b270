#include "DesktopPlatform.h"
#include "FakePlatform.h"
#include "Print.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

    // The smallest rectangle holding every pixel that is not white.
    QRect InkedArea(const QImage& page)
    {
        QRect area;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixel(x, y) != qRgb(255, 255, 255))
                    area |= QRect(x, y, 1, 1);
        return area;
    }

    // The pages of a PDF file, -1 when there is none.
    qsizetype PdfPages(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.peek(5).startsWith("%PDF"))
            return -1;
        return QString::fromLatin1(file.readAll()).count(QRegularExpression(u"/Type\\s*/Page(?![a-zA-Z])"_s));
    }

    // Reads the next modal dialog as the user sees it and answers it from inside
    // its own event loop: with a name typed into a file dialog (none: Cancel) or
    // with a key in a message box.
    void OnNextModal(QString& seen, Qt::Key key, const QString& typed = {})
    {
        QTimer::singleShot(0, qApp, [=, &seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = QStringList { box->windowTitle(), box->text(), QString::number(box->icon()),
                    QString::number(box->standardButtons()),
                    QString::number(box->standardButton(box->defaultButton())) }
                           .join(u'|');
                QTest::keyClick(box, key);
            } else if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
                seen = QStringList { dialog->windowTitle(), dialog->nameFilters().join(u','),
                    dialog->selectedNameFilter(), name->text(), QString::number(dialog->acceptMode()),
                    QString::number(dialog->testOption(QFileDialog::DontConfirmOverwrite)), dialog->defaultSuffix() }
                           .join(u'|');
                name->setText(typed);
                typed.isEmpty() ? dialog->reject() : dialog->QDialog::accept();
            }
        });
    }

} // namespace

class PrintAndDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QCOMPARE(QApplication::topLevelWidgets().size(), 0); }

    void paintPageImage_data()
    {
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<qreal>("imageRatio");
        QTest::addColumn<int>("pageDotsPerMetre"); // the image has 3780 (96 dpi)
        QTest::addColumn<QRect>("expected"); // on a 400 x 600 page printable from (20, 30), 360 x 540
        // clang-format off
        QTest::newRow("small image keeps its size, centred at the top") << QSize(100, 50) << 1.0 << 3780 << QRect(150, 30, 100, 50);
        QTest::newRow("finer page keeps the size on paper") << QSize(100, 50) << 1.0 << 7560 << QRect(100, 30, 200, 100);
        QTest::newRow("high-density screen image keeps its size on screen") << QSize(200, 100) << 2.0 << 3780 << QRect(150, 30, 100, 50);
        QTest::newRow("wide image shrinks to the page width") << QSize(720, 100) << 1.0 << 3780 << QRect(20, 30, 360, 50);
        QTest::newRow("tall image shrinks to the page height") << QSize(100, 1080) << 1.0 << 3780 << QRect(175, 30, 50, 540);
        // clang-format on
    }

    void paintPageImage()
    {
        QFETCH(QSize, imageSize);
        QFETCH(qreal, imageRatio);
        QFETCH(int, pageDotsPerMetre);
        QFETCH(QRect, expected);
        QImage image(imageSize, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.setDevicePixelRatio(imageRatio);
        QImage page(400, 600, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(pageDotsPerMetre);
        page.setDotsPerMeterY(pageDotsPerMetre);
        QPainter painter(&page);
        PaintPageImage(painter, QRect(20, 30, 360, 540), image);
        painter.end();
        // Smoothing may tint one more pixel at an edge.
        const QRect inked = InkedArea(page);
        QVERIFY(inked.contains(expected.adjusted(1, 1, -1, -1)) && expected.adjusted(-1, -1, 1, 1).contains(inked));
    }

    void printerThatTakesThePageHasPrintedIt()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath(u"page.pdf"_s));
        QString error;
        QVERIFY(PrintPage(printer, QImage(300, 200, QImage::Format_RGB32), error));
        QCOMPARE(PdfPages(dir.filePath(u"page.pdf"_s)), 1);
        printer.setOutputFileName(dir.filePath(u"missing/page.pdf"_s));
        QVERIFY(!PrintPage(printer, QImage(300, 200, QImage::Format_RGB32), error));
        QVERIFY2(error.endsWith(u"could not be started."_s), qPrintable(error));
    }

    void failedPrintOffersAPdfSavedOnlyWhenAsked()
    {
        QTemporaryDir dir;
        testing::FakePlatform platform;
        platform.answers << Platform::Answer::Cancel << Platform::Answer::Ok;
        platform.fileNames.enqueue(dir.filePath(u"page"_s));
        const QImage page(300, 200, QImage::Format_RGB32);

        QVERIFY(!OfferPagePdf(platform, nullptr, page, u"No printer."_s));
        QVERIFY(platform.saveDialogs.isEmpty());
        QVERIFY(OfferPagePdf(platform, nullptr, page, u"No printer."_s));

        QCOMPARE(PdfPages(dir.filePath(u"page.pdf"_s)), 1); // the suffix is added when the name has none
        const QString offer
            = u"The page could not be printed.\nNo printer.\n\nPress OK to save the same page as a PDF file instead."_s;
        QCOMPARE(platform.messageTexts(), QStringList({ offer, offer }));
        QCOMPARE(platform.messages[1].title, u"Print"_s);
        QCOMPARE(platform.messages[0].buttons, Platform::Buttons::OkCancel);
        QCOMPARE(platform.saveDialogs[0].title + platform.saveDialogs[0].filter,
            u"Save Page As PDFPDF files(*.pdf)|*.pdf|All files (*.*)|*.*"_s);
    }

    void desktopDialogsShowWhatTheyAreToldAndGiveTheAnswer()
    {
        DesktopPlatform platform;
        QString seen; // title, text, icon, buttons, the default one
        const QString box = u"Warning|Replace Existing File ?|0|%1|1024"_s;
        const QString question = u"Replace Existing File ?"_s;
        OnNextModal(seen, Qt::Key_Return);
        QCOMPARE(
            platform.showMessage(nullptr, u"Warning"_s, question, Platform::Buttons::OkCancel), Platform::Answer::Ok);
        QCOMPARE(seen, box.arg(QMessageBox::Ok | QMessageBox::Cancel));
        OnNextModal(seen, Qt::Key_Escape);
        QCOMPARE(platform.showMessage(nullptr, u"Warning"_s, question, Platform::Buttons::OkCancel),
            Platform::Answer::Cancel);
        OnNextModal(seen, Qt::Key_Escape);
        QCOMPARE(platform.showMessage(nullptr, u"Warning"_s, question, Platform::Buttons::Ok), Platform::Answer::Ok);
        QCOMPARE(seen, box.arg(QMessageBox::Ok));

        // title, filters, the one selected, the name offered, mode, no question of its own, suffix
        QTemporaryDir dir;
        const QString existing = dir.filePath(u"report"_s);
        QVERIFY(QFile(existing).open(QIODevice::WriteOnly));
        for (const QString& typed : { existing, QString() }) {
            OnNextModal(seen, Qt::Key_Escape, typed);
            QCOMPARE(platform.getSaveFileName(
                         nullptr, u"Save Report"_s, u"CSV files(*.csv)|*.csv|All files (*.*)|*.*"_s, u"first.csv"_s),
                typed);
            QCOMPARE(seen, u"Save Report|CSV files(*.csv),All files (*.*)|CSV files(*.csv)|first.csv|1|1|"_s);
        }
        OnNextModal(seen, Qt::Key_Escape, existing);
        QCOMPARE(platform.getOpenFileName(nullptr, u"Open Case"_s, u"Case files (*.case)|*.case"_s), existing);
        QCOMPARE(seen, u"Open Case|Case files (*.case)|Case files (*.case)||0|0|"_s);

        // Save is the default answer to the unsaved-changes question; Escape cancels.
        const QString unsaved
            = u"Latcap|Save the changes?|2|%1|%2"_s.arg(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        OnNextModal(seen, Qt::Key_Return);
        QCOMPARE(platform.askUnsaved(nullptr, u"Latcap"_s, u"Save the changes?"_s), Platform::Unsaved::Save);
        QCOMPARE(seen, unsaved.arg(QMessageBox::Save));
        OnNextModal(seen, Qt::Key_Escape);
        QCOMPARE(platform.askUnsaved(nullptr, u"Latcap"_s, u"Save the changes?"_s), Platform::Unsaved::Cancel);
    }

    void printPageWithoutPrinter()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed on this machine");
        QString error;
        QVERIFY(!DesktopPlatform().printPage(QImage(10, 10, QImage::Format_RGB32), error));
        QCOMPARE(error, u"No printer is installed."_s);
    }
};

} // namespace latcap

QTEST_MAIN(latcap::PrintAndDialogsTest)
#include "PrintAndDialogsTest.moc"
