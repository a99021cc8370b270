#include "CalcReport.h"
#include "CaseFile.h"
#include "Diagrams.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The tests draw in DejaVu Sans alone: a fontconfig file of their own, named
// before the application starts.
[[maybe_unused]] const bool kOnlyDejaVu = qputenv("FONTCONFIG_FILE", LATCAP_FONTS_CONF);

// A case (of the examples, or {cases}/NAME of tests/data) run as latcap-batch runs it:
// "calc-l", "calc-m" or "check" (the calculation being the check's Calc M at
// L), CSF 0.5 where the case gives none, KEY=VALUE settings as --set gives
// them; as a report is made of it.
latcap::ReportSource ReadAndCalculate(const QString& path, const QString& command, const QStringList& settings)
{
    QFile file(path.startsWith(u"{cases}/"_s)
            ? QString(path).replace(u"{cases}"_s, QStringLiteral(LATCAP_TEST_DATA "/cases"))
            : QStringLiteral(LATCAP_EXAMPLES "/") + path);
    latcap::Case source;
    std::string error;
    bool read = file.open(QIODevice::ReadOnly)
        && latcap::ReadCase(file.readAll().toStdString(), path.toStdString(), source, error);
    for (const QString& setting : settings)
        read = read
            && latcap::SetCaseValue(
                source, setting.section(u'=', 0, 0).toStdString(), setting.section(u'=', 1).toStdString(), error);
    if (!read)
        qWarning("%s: %s", qPrintable(path), error.c_str());
    const latcap::InputTexts inputs = latcap::CaseInputs(source, "0.5");
    const latcap::FactorSet factors = latcap::CaseFactorSet(source);
    std::shared_ptr<const latcap::DesignCheck> check;
    std::shared_ptr<const latcap::Calculation> calc;
    if (read && command == u"check"_s) {
        check = std::make_shared<const latcap::DesignCheck>(latcap::CheckDesign(inputs, factors));
        calc = check->atDepth;
    } else if (read) {
        calc = std::make_shared<const latcap::Calculation>(latcap::CalculateDesign(
            command == u"calc-l"_s ? latcap::Command::CalcL : latcap::Command::CalcM, inputs, factors));
    }
    return latcap::MakeReportSource(
        calc, QString::fromStdString(source.title), u"from the case file"_s, source.job, check, factors.name);
}

// A field of a model as the model files write it: one text a row, the parts
// of a row parted by " | ", numbers to six figures.
using Diagram = latcap::DiagramModel;
QString Number(double value) { return QString::number(value, 'g', 6); }
QString Row(const QString& text) { return text; }
QString Row(const QStringList& parts) { return parts.join(u" | "_s); }
QString Row(const latcap::CalcReport::Line& l)
{
    return l.name + u" | "_s + l.value + (l.unit.isEmpty() ? u""_s : u" | "_s + l.unit);
}
QString Row(const QPointF& p) { return Number(p.x()) + u" | "_s + Number(p.y()); }
QString Row(const Diagram::Curve& c) { return Row(c.extreme) + u" | "_s + c.extremeText; }
QString Row(const Diagram::Step& s) { return Number(s.top) + u" | "_s + Number(s.bottom); }
QString Row(const Diagram::Mark& m) { return Number(m.depth) + u" | "_s + m.text; }
QStringList Rows(const QString& text) { return { text }; }
QStringList Rows(bool yes) { return { yes ? u"yes"_s : u"no"_s }; }
template <typename Items> QStringList Rows(const Items& items)
{
    QStringList rows;
    for (const auto& item : items)
        rows << Row(item);
    return rows;
}

// Every field a model file may name.
std::map<QString, QStringList> Fields(const latcap::CalcReport& r, const Diagram& d)
{
    return { { u"jobHeading"_s, Rows(r.jobHeading) }, { u"command"_s, Rows(r.command) },
        { u"inputs"_s, Rows(r.inputs) }, { u"layers"_s, Rows(r.layers) }, { u"results"_s, Rows(r.results) },
        { u"resultNotes"_s, Rows(r.resultNotes) }, { u"designCheck"_s, Rows(r.designCheck) },
        { u"designOk"_s, Rows(r.designOk) }, { u"factors"_s, Rows(r.factors) },
        { u"factorLayers"_s, Rows(r.factorLayers) }, { u"problems"_s, Rows(r.problems) },
        { u"validResult"_s, Rows(r.validResult) }, { u"misread"_s, Rows(r.misread) },
        { u"equilibrium"_s, Rows(r.equilibrium) }, { u"coefficients"_s, Rows(r.coefficients) },
        { u"notes"_s, Rows(r.notes) }, { u"rigidity"_s, Rows(r.rigidity) },
        { u"rigidityNotes"_s, Rows(r.rigidityNotes) }, { u"broms"_s, Rows(r.broms) },
        { u"bromsNotes"_s, Rows(r.bromsNotes) }, { u"bromsWorking"_s, Rows(r.bromsWorking) },
        { u"bromsWorkingNotes"_s, Rows(r.bromsWorkingNotes) }, { u"slices"_s, Rows(r.slices) },
        { u"zrMark"_s, Rows(r.zrMark) }, { u"slicesAboveZr"_s, Rows(QString::number(r.slicesAboveZr)) },
        { u"pressure"_s, Rows(d.curves[0].points) }, { u"shear"_s, Rows(d.curves[1].points) },
        { u"moment"_s, Rows(d.curves[2].points) }, { u"extremes"_s, Rows(d.curves) }, { u"steps"_s, Rows(d.steps) },
        { u"depthAxis"_s, Rows(Number(d.depth.hi) + u" | "_s + Number(d.depth.step)) }, { u"marks"_s, Rows(d.marks) } };
}

// Whether axis holds every value and 0, from and to whole multiples of a
// step of 1, 2, 2.5 or 5 times a power of ten, going less than a step and a
// fiftieth of the values' span past them, and is ticked at every step.
bool RoundAxisJustPast(const latcap::DiagramModel::Axis& axis, const std::vector<QPointF>& points)
{
    double lo = 0;
    double hi = 0;
    for (const QPointF& p : points) {
        lo = std::min(lo, p.x());
        hi = std::max(hi, p.x());
    }
    const double margin = 0.02 * (hi - lo) + 1e-9 * axis.step;
    const double mantissa = axis.step / std::pow(10.0, std::floor(std::log10(axis.step)));
    const auto whole = [&](double v) { return std::fabs(v / axis.step - std::round(v / axis.step)) < 1e-6; };
    return axis.lo <= lo && hi <= axis.hi && !(lo < 0 && axis.lo + axis.step <= lo - margin)
        && !(hi > 0 && axis.hi - axis.step >= hi + margin) && whole(axis.lo) && whole(axis.hi)
        && std::set<double> { 1, 2, 2.5, 5 }.contains(std::round(mantissa * 1e6) / 1e6)
        && axis.ticks.size() == std::size_t(std::lround((axis.hi - axis.lo) / axis.step)) + 1
        && axis.ticks.front() == axis.lo && std::fabs(axis.ticks.back() - axis.hi) < 1e-6 * axis.step;
}

// What each page of a PDF draws where: its paths, rules, fills and colours as
// written, and where each run of text starts in which font; a pen or colour
// where it changes; numbers to a hundredth of a pixel. "page" begins a page.
QStringList PageLayouts(const QByteArray& pdf)
{
    QStringList lines;
    static const QRegularExpression contents(u"/Contents (\\d+) 0 R"_s);
    for (const QRegularExpressionMatch& page : contents.globalMatch(QString::fromLatin1(pdf))) {
        const qsizetype from = pdf.indexOf("stream\n", pdf.indexOf("\n" + page.captured(1).toLatin1() + " 0 obj")) + 7;
        QByteArray packed = pdf.mid(from, pdf.indexOf("endstream", from) - from);
        for (int shift = 0; shift < 32; shift += 8) // qUncompress's first guess at the size
            packed.prepend(char((packed.size() * 64) >> shift));
        lines << u"page"_s;
        QStringList operands;
        QString text; // the font of a run of text until its first glyph
        std::map<QString, QString> state { { u"w"_s, {} }, { u"J"_s, {} }, { u"j"_s, {} }, { u"d"_s, {} },
            { u"SCN"_s, {} }, { u"scn"_s, {} } };
        const QStringList ignored
            = { u"q"_s, u"Q"_s, u"Tm"_s, u"gs"_s, u"cs"_s, u"CS"_s, u"BT"_s, u"ET"_s, u"Td"_s, u"Tj"_s };
        const QString stream = QString::fromLatin1(qUncompress(packed));
        for (const QString& token : stream.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts)) {
            const bool number = token.front().isDigit() || token.front() == u'-';
            if (!token.front().isLetter()) {
                operands << (number ? QString::number(std::round(token.toDouble() * 100) / 100) : token);
                continue;
            }
            const QString line = token + u' ' + operands.join(u' ');
            if (token == u"Tf"_s)
                text = u"text "_s + operands.join(u' ');
            else if (token == u"Td"_s && !text.isEmpty())
                lines << std::exchange(text, {}) + u" at "_s + operands.join(u' ');
            else if (state.contains(token) ? std::exchange(state[token], line) != line : !ignored.contains(token))
                lines << line.trimmed();
            operands.clear();
        }
    }
    return lines;
}

// The elements QSvgGenerator writes; any other one came from the input.
const QStringList kSvgElements = { u"svg"_s, u"title"_s, u"desc"_s, u"defs"_s, u"g"_s, u"path"_s, u"polyline"_s,
    u"polygon"_s, u"rect"_s, u"circle"_s, u"ellipse"_s, u"line"_s, u"text"_s, u"image"_s, u"linearGradient"_s,
    u"radialGradient"_s, u"stop"_s, u"clipPath"_s };

} // namespace

class OutputTest : public QObject {
    Q_OBJECT

    // The rows of a table of tests/data: name, case file, command, settings.
    static void CaseRows(const std::string& table)
    {
        QTest::addColumn<QString>("caseFile");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("settings");
        for (const latcap::testing::TableRow& row : latcap::testing::TableRows(table, 9)) {
            QStringList fields;
            for (const std::string& field : row.fields)
                fields << QString::fromStdString(field);
            fields.removeAll(QString());
            QTest::newRow(row.name.c_str()) << fields.value(0) << fields.value(1) << fields.mid(2);
        }
    }

private Q_SLOTS:
    // Whatever the title (the case's, or its file's name), the SVG is
    // well-formed XML holding only the generator's own
    // elements: the three curves with a point at each one's largest value;
    // and its title says what was typed.
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
        const auto calc = ReadAndCalculate(u"sign-post-sand.case"_s, u"calc-l"_s, {}).calculation;
        QVERIFY(calc);
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QVERIFY(latcap::WriteDiagramSvg(svg, { calc, title }));
        QXmlStreamReader xml(svg.data());
        QString titleRead;
        QString width; // of the lines of the group
        int curves = 0; // drawn 2 wide
        int extremes = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            QVERIFY2(kSvgElements.contains(xml.name().toString()), qPrintable(xml.name().toString()));
            if (xml.name() == u"g"_s)
                width = xml.attributes().value(u"stroke-width"_s).toString();
            curves += xml.name() == u"path"_s && width == u"2"_s ? 1 : 0;
            extremes += xml.name() == u"circle"_s ? 1 : 0;
            if (xml.name() == u"title"_s && titleRead.isEmpty())
                titleRead = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(titleRead, shown);
        QCOMPARE(curves, 3);
        QCOMPARE(extremes, 3);
    }

    // The report and the diagrams of each case of tests/data/models.txt,
    // field by field; every diagram's curves stop at the toe, on round axes
    // just past their values.
    void models_data()
    {
        QTest::addColumn<QStringList>("lines");
        QFile file(QStringLiteral(LATCAP_TEST_DATA "/models.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString& block : text.split(u"\ncase "_s).mid(1)) {
            QStringList lines = block.split(u'\n');
            const QString name = lines.takeFirst();
            lines.removeIf([](const QString& line) { return line.isEmpty() || line.startsWith(u'#'); });
            QTest::newRow(qPrintable(name)) << lines;
        }
    }

    void models()
    {
        QFETCH(QStringList, lines);
        const QStringList run = lines.takeFirst().split(u' '); // "run COMMAND CASE"
        QStringList settings;
        while (!lines.isEmpty() && lines.front().startsWith(u"set "_s))
            settings << lines.takeFirst().mid(4);
        const latcap::ReportSource source = ReadAndCalculate(run.value(2), run.value(1), settings);
        QVERIFY(source.calculation && source.calculation->HasResults());
        const latcap::DiagramModel diagram = latcap::MakeDiagramModel({ source.calculation, {} });
        for (const latcap::DiagramModel::Curve& curve : diagram.curves) {
            QVERIFY2(RoundAxisJustPast(curve.axis, curve.points), qPrintable(curve.title));
            for (const QPointF& p : curve.points)
                QVERIFY(p.y() <= diagram.toe);
        }
        auto fields = Fields(latcap::MakeCalcReport(source), diagram);
        // "FIELD INDEX TEXT", INDEX counting from the end when negative, # for the count.
        for (const QString& line : std::as_const(lines)) {
            const QStringList rows = fields[line.section(u' ', 0, 0)];
            const int index = line.section(u' ', 1, 1).toInt();
            const QString found = line.section(u' ', 1, 1) == u"#"_s
                ? QString::number(rows.size())
                : rows.value(index < 0 ? rows.size() + index : index, u"(none)"_s);
            QVERIFY2(found == line.section(u' ', 2), qPrintable(line + u"\n   but is: "_s + found));
        }
    }

    // Calculations at the edges of what numbers hold are drawn and reported
    // without undefined behaviour (the sanitizer build stops at any).
    void extremes_data() { CaseRows("extreme-drawings.tsv"); }

    void extremes()
    {
        QFETCH(QString, caseFile);
        QFETCH(QString, command);
        QFETCH(QStringList, settings);
        const auto calc = ReadAndCalculate(caseFile, command, settings).calculation;
        QVERIFY(calc);
        if (!calc->HasResults())
            return;
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QVERIFY(latcap::WriteDiagramSvg(svg, { calc, u"Extreme"_s }));
        // Half as high as the canvas: drawn at half its size, and inside the area.
        QPicture window;
        QPainter painter(&window);
        const QRectF area(0, 0, latcap::kDiagramSize.width(), latcap::kDiagramSize.height() / 2);
        latcap::DrawDiagrams(painter, area, { calc, u"Extreme"_s });
        painter.end();
        QVERIFY(area.adjusted(-1, -1, 1, 1).contains(window.boundingRect()));
        QVERIFY(
            !WritesPdf(latcap::MakeCalcReport({ calc, u"Extreme"_s, u"from the case file"_s, u"latcap"_s, {}, {}, {} }))
                 .isEmpty());
    }

    // Every page of the reports of tests/data/page-layouts.tsv draws what it
    // drew when its layout file was kept (tests/data/pages/NAME.txt): the same
    // rules, fills and texts in the same places, in DejaVu Sans (the tests'
    // only font). LATCAP_UPDATE_KEPT=1 writes the files anew.
    void pageLayouts_data() { CaseRows("page-layouts.tsv"); }

    void pageLayouts()
    {
        QFETCH(QString, caseFile);
        QFETCH(QString, command);
        QFETCH(QStringList, settings);
        QVERIFY2(QFontInfo(QFont(u"sans-serif"_s)).family() == u"DejaVu Sans"_s,
            "the tests draw in DejaVu Sans (fonts-dejavu-core) only");
        latcap::ReportSource source = ReadAndCalculate(caseFile, command, settings);
        source.program = u"latcap"_s;
        source.made = QDateTime(QDate(2026, 12, 7), QTime(9, 30));
        const QStringList drawn = PageLayouts(WritesPdf(latcap::MakeCalcReport(source)));
        QFile kept(QStringLiteral(LATCAP_TEST_DATA "/pages/") + QTest::currentDataTag() + u".txt"_s);
        if (qEnvironmentVariable("LATCAP_UPDATE_KEPT") == u"1"_s) {
            QVERIFY(kept.open(QIODevice::WriteOnly | QIODevice::Truncate));
            kept.write(drawn.join(u'\n').toUtf8());
            kept.close();
        }
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(drawn, QString::fromUtf8(kept.readAll()).split(u'\n'));
    }

private:
    static QByteArray WritesPdf(const latcap::CalcReport& report)
    {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QString error;
        const bool written = latcap::WriteCalcReportPdf(pdf, report, error);
        if (!written)
            qWarning("%s", qPrintable(error));
        return written ? pdf.data() : QByteArray();
    }
};

QTEST_MAIN(OutputTest)
#include "OutputTest.moc"
