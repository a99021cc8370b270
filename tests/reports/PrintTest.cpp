#include "Print.h"
#include "FakePlatform.h"

#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

    using Answers = QList<Platform::Answer>;

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

    qsizetype PdfPages(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.peek(5).startsWith("%PDF"))
            return -1;
        static const QRegularExpression page(u"/Type\\s*/Page(?![a-zA-Z])"_s);
        return QString::fromLatin1(file.readAll()).count(page);
    }

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paintPageImage_data()
    {
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<qreal>("imageRatio");
        QTest::addColumn<int>("pageDotsPerMetre");
        QTest::addColumn<QRect>("expected");
        // A 400 x 600 page whose printable area starts at (20, 30) and is
        // 360 x 540; the window image is taken at 3780 dots per metre (96 dpi).
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
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
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

    void printPage_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::newRow("a printer that takes the page has printed it") << u"page.pdf"_s << QString();
        QTest::newRow("a printer that cannot start says so") << u"missing/page.pdf"_s << u"could not be started"_s;
    }

    void printPage()
    {
        QFETCH(QString, output);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(output));
        QString reason;
        QCOMPARE(PrintPage(printer, QImage(300, 200, QImage::Format_RGB32), reason), error.isEmpty());
        QVERIFY2(error.isEmpty() ? reason.isEmpty() : reason.contains(error), qPrintable(reason));
        QCOMPARE(PdfPages(printer.outputFileName()), error.isEmpty() ? 1 : -1);
    }

    void failedPrintOffersAPdf_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Cancel saves nothing") << Answers { Platform::Answer::Cancel } << false;
        QTest::newRow("OK saves the page as a one-page PDF") << Answers { Platform::Answer::Ok } << true;
    }

    void failedPrintOffersAPdf()
    {
        QFETCH(Answers, answers);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        testing::FakePlatform platform;
        platform.answers.append(answers);
        platform.fileNames.enqueue(dir.filePath(u"page"_s));

        QCOMPARE(OfferPagePdf(platform, nullptr, QImage(300, 200, QImage::Format_RGB32), u"No printer."_s), saved);

        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].title, u"Print"_s);
        QCOMPARE(platform.messages[0].buttons, Platform::Buttons::OkCancel);
        QVERIFY(platform.messages[0].text.contains(u"No printer."_s));
        QCOMPARE(platform.saveDialogs.size(), saved ? 1 : 0);
        if (saved)
            QCOMPARE(platform.saveDialogs[0].title + platform.saveDialogs[0].filter,
                u"Save Page As PDFPDF files(*.pdf)|*.pdf|All files (*.*)|*.*"_s);
        QCOMPARE(PdfPages(dir.filePath(u"page"_s)), saved ? 1 : -1);
    }
};

} // namespace latcap

QTEST_MAIN(latcap::PrintTest)
#include "PrintTest.moc"
