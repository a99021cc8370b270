#include "FakePlatform.h"
#include "Print.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

using testing::FakePlatform;
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

int PdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(u"/Type\\s*/Page(?![a-zA-Z])"_s);
    int count = 0;
    auto it = page.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A stand-in for the window's image: light grey with a dark frame.
QImage WindowImage()
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(QColor(220, 220, 220));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
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
        {
            QPainter painter(&page);
            PaintPageImage(painter, QRect(20, 30, 360, 540), image);
        }
        // Smoothing may tint one more pixel at an edge.
        const QRect inked = InkedArea(page);
        QVERIFY(inked.contains(expected.adjusted(1, 1, -1, -1)));
        QVERIFY(expected.adjusted(-1, -1, 1, 1).contains(inked));
    }

    void printWindowImage_data()
    {
        QTest::addColumn<QString>("printError");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("fileName"); // answer of the save dialog, relative to a fresh folder
        QTest::addColumn<bool>("existing");    // a file of that name is there already
        QTest::addColumn<bool>("expectDone"); // printed, or saved as PDF after a failure
        QTest::addColumn<QStringList>("expectTitles");

        const QString noPrinter = u"No printer is installed."_s;
        const auto ok = Platform::Answer::Ok;
        const auto cancel = Platform::Answer::Cancel;
        const QStringList print{u"Print"_s};
        const QStringList error{u"Print"_s, u"Error"_s};
        const QStringList warning{u"Print"_s, u"Warning"_s};
        // clang-format off
        QTest::newRow("printed: nothing asked") << QString() << Answers{} << QString() << false << true << QStringList{};
        QTest::newRow("failed, Cancel: nothing saved") << noPrinter << Answers{cancel} << u"page.pdf"_s << false << false << print;
        QTest::newRow("failed, OK: the page is saved as PDF") << noPrinter << Answers{ok} << u"page.pdf"_s << false << true << print;
        QTest::newRow("failed, OK, name without extension used as typed") << noPrinter << Answers{ok} << u"page"_s << false << true << print;
        QTest::newRow("failed, OK, dialog cancelled: nothing saved") << noPrinter << Answers{ok} << QString() << false << false << print;
        QTest::newRow("failed, OK, unwritable file reported") << noPrinter << Answers{ok} << u"missing/page.pdf"_s << false << false << error;
        QTest::newRow("failed, OK, existing file kept on Cancel") << noPrinter << Answers{ok, cancel} << u"page.pdf"_s << true << false << warning;
        // clang-format on
    }

    void printWindowImage()
    {
        QFETCH(QString, printError);
        QFETCH(Answers, answers);
        QFETCH(QString, fileName);
        QFETCH(bool, existing);
        QFETCH(bool, expectDone);
        QFETCH(QStringList, expectTitles);
        const bool expectPdf = expectDone && !printError.isEmpty();

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
        const QByteArray old = "an older page";
        if (existing) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        FakePlatform platform;
        platform.printError = printError;
        for (Platform::Answer answer : answers)
            platform.answers.enqueue(answer);
        platform.fileNames.enqueue(path);
        const QImage image = WindowImage();

        QCOMPARE(PrintWindowImage(platform, nullptr, image), expectDone);

        QCOMPARE(platform.printed.size(), 1);
        QCOMPARE(platform.printed[0], image);
        QStringList titles;
        for (const FakePlatform::Message& m : platform.messages)
            titles.append(m.title);
        QCOMPARE(titles, expectTitles);
        if (!platform.messages.isEmpty()) {
            const FakePlatform::Message& offer = platform.messages[0];
            QCOMPARE(offer.buttons, Platform::Buttons::OkCancel);
            QVERIFY(offer.text.contains(printError));
            QVERIFY(offer.text.contains(u"PDF"_s));
        }
        if (titles.contains(u"Error"_s))
            QVERIFY(platform.messages.last().text.contains(QDir::toNativeSeparators(path)));
        const bool offered = !answers.isEmpty() && answers[0] == Platform::Answer::Ok;
        QCOMPARE(platform.saveDialogs.size(), offered ? 1 : 0);
        if (offered) {
            QCOMPARE(platform.saveDialogs[0].title, u"Save Page As PDF"_s);
            QCOMPARE(platform.saveDialogs[0].filter, u"PDF files(*.pdf)|*.pdf|All files (*.*)|*.*"_s);
            QVERIFY(platform.saveDialogs[0].initialName.isEmpty());
        }

        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        if (expectPdf) {
            QCOMPARE(files, QStringList{fileName});
            const QByteArray pdf = ReadBytes(path);
            QVERIFY(pdf.startsWith("%PDF"));
            QCOMPARE(PdfPageCount(pdf), 1);
        } else if (existing) {
            QCOMPARE(ReadBytes(path), old);
        } else {
            QVERIFY(files.isEmpty());
        }
    }
};

} // namespace latcap

QTEST_MAIN(latcap::PrintTest)
#include "PrintTest.moc"
