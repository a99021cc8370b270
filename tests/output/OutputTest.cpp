#include "CalcReport.h"
#include "CaseFile.h"
#include "Diagrams.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<const latcap::Calculation> ReadAndCalculate(
    const QString& caseFile, const QString& command, const QStringList& settings)
{
    QFile file(QStringLiteral(LATCAP_EXAMPLES "/") + caseFile);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    latcap::Case source;
    std::string error;
    bool read = latcap::ReadCase(file.readAll().toStdString(), caseFile.toStdString(), source, error);
    for (const QString& setting : settings)
        read = read
            && latcap::SetCaseValue(
                source, setting.section(u'=', 0, 0).toStdString(), setting.section(u'=', 1).toStdString(), error);
    if (!read) {
        qWarning("%s", error.c_str());
        return nullptr;
    }
    return std::make_shared<const latcap::Calculation>(
        latcap::Calculate(command == u"calc-l"_s ? latcap::Command::CalcL : latcap::Command::CalcM,
            latcap::CaseInputs(source, "0.5")));
}

// The elements QSvgGenerator writes; any other one came from the input.
const QStringList kSvgElements = { u"svg"_s, u"title"_s, u"desc"_s, u"defs"_s, u"g"_s, u"path"_s, u"polyline"_s,
    u"polygon"_s, u"rect"_s, u"circle"_s, u"ellipse"_s, u"line"_s, u"text"_s, u"image"_s, u"linearGradient"_s,
    u"radialGradient"_s, u"stop"_s, u"clipPath"_s };

} // namespace

class OutputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whatever the title (the case's, or its file's name), the SVG is
    // well-formed XML holding only the generator's own elements, and its
    // title says what was typed.
    void svgOfAnyTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown"); // the SVG's <title>
        QTest::newRow("ampersand") << u"Smith & Sons yard"_s << u"Smith & Sons yard"_s;
        QTest::newRow("markup") << u"x</title><script>alert(1)</script><title>"_s
                                << u"x</title><script>alert(1)</script><title>"_s;
        QTest::newRow("file name") << u"a&b<c>"_s << u"a&b<c>"_s;
        QTest::newRow("quotes") << u"Post \"A\" and 'B'"_s << u"Post \"A\" and 'B'"_s;
        QTest::newRow("tab") << u"Post\tA"_s << u"Post\tA"_s;
        QTest::newRow("control bytes") << u"P\x01st\x1b[0m"_s << u"P\\x01st\\x1b[0m"_s;
        QTest::newRow("NUL") << QString(u"a\0b"_s) << u"a\\0b"_s;
        QTest::newRow("invalid UTF-8 read as replacement") << QString::fromUtf8("bad\xff") << u"bad\uFFFD"_s;
        QTest::newRow("noncharacter") << u"x\uFFFEy"_s << u"x\\uFFFEy"_s;
        QTest::newRow("10,000 characters") << QString(10000, u'&') << QString(10000, u'&');
    }

    void svgOfAnyTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, shown);
        const auto calc = ReadAndCalculate(u"sign-post-sand.case"_s, u"calc-l"_s, {});
        QVERIFY(calc);
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QVERIFY(latcap::WriteDiagramSvg(svg, { calc, title }));
        QXmlStreamReader xml(svg.data());
        QString titleRead;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            QVERIFY2(kSvgElements.contains(xml.name().toString()), qPrintable(xml.name().toString()));
            if (xml.name() == u"title"_s && titleRead.isEmpty())
                titleRead = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(titleRead, shown);
    }

    // A pile whose point of rotation lies below its toe is drawn no deeper
    // than the toe: its curves (drawn 2 wide) and the notes of their
    // extremes stop at the toe's line (2.2 wide, in the toe's colour).
    void curvesStopAtTheToe()
    {
        const auto calc = ReadAndCalculate(u"sign-post-sand.case"_s, u"calc-m"_s, { u"L=0.5"_s, u"H=60"_s });
        QVERIFY(calc);
        QVERIFY(calc->state->Zr > 2 * calc->Depth());
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QVERIFY(latcap::WriteDiagramSvg(svg, { calc, u"Below the toe"_s }));
        QXmlStreamReader xml(svg.data());
        QString stroke;
        QString width;
        double toe = -1;
        double deepest = -1;
        const QRegularExpression point(uR"((-?[0-9.e+-]+),(-?[0-9.e+-]+))"_s);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"g"_s) {
                stroke = attributes.value(u"stroke"_s).toString();
                width = attributes.value(u"stroke-width"_s).toString();
            } else if (xml.name() == u"polyline"_s && stroke == u"#143ca0"_s && width == u"2.2"_s) {
                toe = point.match(attributes.value(u"points"_s)).captured(2).toDouble();
            } else if (xml.name() == u"path"_s && width == u"2"_s) {
                for (const QRegularExpressionMatch& m : point.globalMatch(attributes.value(u"d"_s).toString()))
                    deepest = std::max(deepest, m.captured(2).toDouble());
            } else if (xml.name() == u"circle"_s) {
                deepest = std::max(deepest, attributes.value(u"cy"_s).toDouble());
            }
        }
        QVERIFY(toe > 0);
        QVERIFY2(deepest <= toe + 0.01, qPrintable(u"curves reach %1, the toe is at %2"_s.arg(deepest).arg(toe)));
    }

    // Calculations at the edges of what numbers hold are drawn and reported
    // without undefined behaviour (the sanitizer build stops at any).
    void extremes_data()
    {
        QTest::addColumn<QString>("caseFile");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("settings");
        QFile table(QStringLiteral(LATCAP_TEST_DATA "/extreme-drawings.tsv"));
        QVERIFY(table.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(table.readAll()).split(u'\n')) {
            QStringList fields = line.split(u'\t');
            if (fields.size() >= 3 && !line.startsWith(u'#'))
                QTest::newRow(qPrintable(fields[0])) << fields[1] << fields[2] << fields.mid(3);
        }
    }

    void extremes()
    {
        QFETCH(QString, caseFile);
        QFETCH(QString, command);
        QFETCH(QStringList, settings);
        const auto calc = ReadAndCalculate(caseFile, command, settings);
        QVERIFY(calc);
        if (!calc->HasResults())
            return;
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QVERIFY(latcap::WriteDiagramSvg(svg, { calc, u"Extreme"_s }));
        QImage window(900, 600, QImage::Format_RGB32);
        QPainter painter(&window);
        latcap::DrawDiagrams(painter, QRectF(0, 0, 900, 600), { calc, u"Extreme"_s });
        painter.end();
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QString error;
        QVERIFY2(latcap::WriteCalcReportPdf(pdf,
                     latcap::MakeCalcReport({ calc, u"Extreme"_s, u"from the case file"_s, u"latcap"_s, {}, {}, {} }),
                     error),
            qPrintable(error));
    }
};

QTEST_MAIN(OutputTest)
#include "OutputTest.moc"
