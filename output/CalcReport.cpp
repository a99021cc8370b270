#include "CalcReport.h"

#include "Broms.h"
#include "CalcSheet.h"
#include "Diagrams.h"
#include "DisplayFormats.h"
#include "FileFormats.h"
#include "NumberText.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QIODevice>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>

namespace latcap {
namespace {

    constexpr int kDpi = 300;
    constexpr double kHeaderPt = 9.0;
    constexpr double kTablePt = 9.0;

    const QColor kWarning(170, 20, 20);

    QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

    QFont Font(double points)
    {
        QFont font(QStringLiteral("sans-serif"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(points);
        // Letters kept apart by the least amount are never joined into one
        // glyph, so that "fi" copies and searches as two letters.
        font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
        return font;
    }

    QString Table(const QStringList& header, const std::vector<QStringList>& rows)
    {
        QString html = QStringLiteral("<table cellspacing='0' cellpadding='3' border='1' width='100%'>"
                                      "<thead><tr>");
        for (const QString& cell : header)
            html += QStringLiteral("<th bgcolor='#e8e8e8'>%1</th>").arg(Escaped(cell));
        html += QStringLiteral("</tr></thead>");
        for (const QStringList& row : rows) {
            html += QStringLiteral("<tr>");
            for (qsizetype i = 0; i < row.size(); ++i) {
                const bool right = i > 0;
                html += QStringLiteral("<td align='%1'>%2</td>")
                            .arg(right ? QStringLiteral("right") : QStringLiteral("left"), Escaped(row[i]));
            }
            html += QStringLiteral("</tr>");
        }
        return html + QStringLiteral("</table>");
    }

    QString Lines(const std::vector<CalcReport::Line>& lines)
    {
        QString html = QStringLiteral("<table cellspacing='0' cellpadding='2'>");
        for (const CalcReport::Line& line : lines)
            html += QStringLiteral("<tr><td>%1</td><td align='right'>&nbsp;&nbsp;%2</td><td>&nbsp;%3</td></tr>")
                        .arg(Escaped(line.name), Escaped(line.value), Escaped(line.unit));
        return html + QStringLiteral("</table>");
    }

    QString StatusText(const CalcReport& report)
    {
        if (report.problems.isEmpty())
            return QStringLiteral("Converged");
        return (report.validResult ? QStringLiteral("NOT CONVERGED: ") : QStringLiteral("NO VALID RESULT: "))
            + report.problems.join(QStringLiteral("; "));
    }

    // The first part of the report: heading, inputs, results, status, method.
    QString SummaryHtml(const CalcReport& report)
    {
        QString html;
        html += QStringLiteral("<h2>%1</h2>")
                    .arg(Escaped(report.title.isEmpty() ? QStringLiteral("(no title)") : report.title));
        if (!report.job.empty()) {
            html += QStringLiteral("<table cellspacing='0' cellpadding='2'>");
            for (const CalcReport::Line& line : report.job)
                html += QStringLiteral("<tr><td>%1&nbsp;&nbsp;</td><td>%2</td></tr>")
                            .arg(Escaped(line.name), Escaped(line.value));
            html += QStringLiteral("</table><p></p>");
        }
        if (!report.designCheck.empty())
            html += QStringLiteral("<h3>Design check: <font color='%1'>%2</font></h3>")
                        .arg(report.designOk ? QStringLiteral("#146e3c") : QStringLiteral("#aa1414"),
                            report.designOk ? QStringLiteral("OK") : QStringLiteral("NOT OK"))
                + Lines(report.designCheck)
                + QStringLiteral("<p>\u03BB is the factor by which H and M can be raised together, the load keeping "
                                 "its height e, until the pile of depth L is at its ultimate state (Calc M with "
                                 "\u03BB H carries \u03BB M); the loads are those after CSF and the partial factors. "
                                 "OK when \u03BB is at least 1 and the results are valid. \u03BB and Hu are rounded "
                                 "down, the utilisation and the depth required up.</p>");
        html += QStringLiteral("<table cellspacing='0' cellpadding='2'>"
                               "<tr><td>Calculation&nbsp;&nbsp;</td><td><b>%1</b>: given %2; found %3.</td></tr>"
                               "<tr><td>Method</td><td>Brinch Hansen, short rigid pile</td></tr>"
                               "<tr><td>Made</td><td>%4 with %5</td></tr></table>")
                    .arg(Escaped(report.command), Escaped(report.given), Escaped(report.found),
                        Escaped(QLocale::c().toString(report.made, QStringLiteral("yyyy-MM-dd HH:mm"))),
                        Escaped(report.program));
        if (report.problems.isEmpty()) {
            html += QStringLiteral("<p><b>Status: converged.</b></p>");
        } else {
            html += QStringLiteral("<table border='2' cellpadding='8' width='100%'><tr><td><font color='#aa1414' "
                                   "size='+1'><b>%1</b></font><br>%2; do not use them for design.</td></tr></table>")
                        .arg(Escaped(StatusText(report)),
                            report.validResult
                                ? QStringLiteral("The results below are those the solver left when it gave up")
                                : QStringLiteral("The results below lie outside what the method can give"));
        }
        if (!report.misread.isEmpty())
            html += QStringLiteral("<p><font color='#aa1414'><b>Inputs were misread:</b> %1.</font> The calculation "
                                   "used the values read.</p>")
                        .arg(Escaped(report.misread.join(QStringLiteral("; "))));
        html += QStringLiteral("<h3>Inputs</h3>") + Lines(report.inputs);
        html += QStringLiteral("<p></p>") + Table(report.layerHeader, report.layers);
        if (!report.factors.empty())
            html += QStringLiteral("<h3>Partial factors</h3>") + Lines(report.factors) + QStringLiteral("<p></p>")
                + Table(report.factorHeader, report.factorLayers);
        html += QStringLiteral("<h3>Results</h3><p>");
        for (const QString& line : report.results)
            html += QStringLiteral("<b>%1</b><br>").arg(Escaped(line));
        html += QStringLiteral("</p>") + Lines(report.resultNotes);
        // A section in a table row is never cut by a page break, so that no
        // heading is left at the foot of a page.
        const auto section = [](const QString& body) {
            return QStringLiteral("<table width='100%' cellspacing='0' cellpadding='0'><tr><td>") + body
                + QStringLiteral("</td></tr></table>");
        };
        html += section(QStringLiteral("<h3>Equilibrium of the slices</h3>") + Lines(report.equilibrium));
        html += section(QStringLiteral("<h3>Coefficients Kq and Kc</h3><p>At the top and at the bottom (or the pile "
                                       "toe) of each layer the pile reaches, as the slices take them.</p>")
            + Table(report.coefficientHeader, report.coefficients));
        QString notes = QStringLiteral("<h3>Strength factor and rigidity</h3>");
        for (const QString& note : report.notes)
            notes += QStringLiteral("<p>%1</p>").arg(Escaped(note));
        if (!report.rigidity.empty())
            notes += Lines(report.rigidity);
        for (const QString& note : report.rigidityNotes)
            notes += QStringLiteral("<p>%1</p>").arg(Escaped(note));
        html += section(notes);
        QString cross = QStringLiteral("<h3>Cross-check by Broms' method</h3>");
        if (!report.broms.empty())
            cross += Table(report.bromsHeader, report.broms);
        for (const QString& note : report.bromsNotes)
            cross += QStringLiteral("<p>%1</p>").arg(Escaped(note));
        if (!report.bromsWorking.empty())
            cross += QStringLiteral("<p>Broms' working:</p>") + Lines(report.bromsWorking);
        for (const QString& note : report.bromsWorkingNotes)
            cross += QStringLiteral("<p>%1</p>").arg(Escaped(note));
        html += section(cross);
        html += QStringLiteral(
            "<h3>Method</h3><p>The pile is taken as rigid and free at its head, and turns about a point at depth Zr. "
            "The soil in front of the pile gives its ultimate passive resistance by Brinch Hansen's earth pressure "
            "coefficients Kq and Kc, slice by slice, fifty slices in every layer above and below Zr. The depth L "
            "(Calc L) or the moment M (Calc M) is found where the horizontal forces and the moments about the pile "
            "head are in equilibrium. The lateral load H and the moment M act at the ground surface; the loads are "
            "divided by the component strength factor CSF before the analysis, and the shear and moment in the pile "
            "are shown multiplied by it again. There is no water table: submerged unit weights are entered as such."
            "</p>");
        html += QStringLiteral("<p><b>Reference:</b> %1</p>").arg(Escaped(report.reference));
        return html;
    }

    class Pages {
    public:
        Pages(QPdfWriter& writer, const CalcReport& report)
            : writer_(writer)
            , report_(report)
        {
            const double mm = kDpi / 25.4;
            header_ = 12 * mm;
            footer_ = 10 * mm;
        }

        // The part of the current page between its header and its footer.
        QRectF Body() const { return QRectF(0, header_, writer_.width(), writer_.height() - header_ - footer_); }

        // Lays a part of the report out in pages of the body's size.
        void SetUp(QTextDocument& document) const
        {
            document.documentLayout()->setPaintDevice(&writer_);
            document.setPageSize(Body().size());
            document.setDefaultFont(Font(10));
            document.setDocumentMargin(0);
        }

        void Frame(QPainter& painter, int page, int pages) const
        {
            painter.save();
            QFont font = Font(kHeaderPt);
            painter.setFont(font);
            const QRectF top(0, 0, writer_.width(), header_ * 0.6);
            painter.setPen(Qt::black);
            const QString right = report_.jobHeading.isEmpty()
                ? report_.command
                : report_.jobHeading + QStringLiteral("   ") + report_.command;
            painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, right);
            // The title wraps left of the rest, in a smaller face when it
            // needs two lines.
            const double gap = 4 * kDpi / 25.4;
            const QRectF titleBox(
                0, 0, top.width() - painter.fontMetrics().horizontalAdvance(right) - gap, top.height());
            const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
            QFont titleFont = font;
            for (double points = kHeaderPt; points >= 6.5; points -= 0.5) {
                titleFont.setPointSizeF(points);
                painter.setFont(titleFont);
                if (painter.boundingRect(titleBox, flags, report_.title).height() <= titleBox.height())
                    break;
            }
            painter.drawText(titleBox, flags, report_.title);
            painter.setFont(font);
            if (!report_.problems.isEmpty()) {
                painter.setPen(kWarning);
                font.setBold(true);
                painter.setFont(font);
                painter.drawText(QRectF(0, header_ * 0.5, writer_.width(), header_ * 0.4),
                    Qt::AlignLeft | Qt::AlignVCenter, StatusText(report_));
                font.setBold(false);
                painter.setFont(font);
            }
            painter.setPen(QPen(Qt::black, kDpi / 25.4 * 0.25));
            painter.drawLine(QPointF(0, header_ * 0.92), QPointF(writer_.width(), header_ * 0.92));
            painter.setPen(Qt::black);
            const QRectF bottom(0, writer_.height() - footer_ * 0.7, writer_.width(), footer_ * 0.7);
            painter.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter, report_.program);
            painter.drawText(
                bottom, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
            painter.restore();
        }

        // Draws one page of a laid-out document into the body.
        void DrawPage(QPainter& painter, QTextDocument& document, int index) const
        {
            const QRectF body = Body();
            painter.save();
            painter.translate(body.left(), body.top() - index * body.height());
            const QRectF clip(0, index * body.height(), body.width(), body.height());
            painter.setClipRect(clip);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = clip;
            context.palette.setColor(QPalette::Text, Qt::black);
            document.documentLayout()->draw(&painter, context);
            painter.restore();
        }

    private:
        QPdfWriter& writer_;
        const CalcReport& report_;
        double header_ = 0;
        double footer_ = 0;
    };

    qsizetype Decimals(const QString& text)
    {
        const qsizetype point = text.indexOf(QLatin1Char('.'));
        return point < 0 ? 0 : text.size() - point - 1;
    }

    // The decimals a number lacks to the most of its column, so that the
    // points line up.
    QString MissingDecimals(const QString& text, qsizetype most)
    {
        const qsizetype decimals = Decimals(text);
        return decimals >= most ? QString() : QString(most - decimals, QLatin1Char('0'));
    }

    // The slice table, drawn row by row so that every page holds whole rows
    // under the column heads.
    class SliceTable {
    public:
        SliceTable(const CalcReport& report, const QRectF& body, QPaintDevice& device)
            : report_(report)
            , body_(body)
        {
            // Each column as wide as its widest number or the longer half of
            // its head, and what is left shared out in proportion.
            QFont bold = Font(kTablePt);
            bold.setBold(true);
            const QFontMetricsF numbers(Font(kTablePt), &device);
            const QFontMetricsF heads(bold, &device);
            double needed = 0;
            for (qsizetype c = 0; c < report_.sliceHeader.size(); ++c) {
                qsizetype most = 0;
                for (const QStringList& row : report_.slices)
                    most = std::max(most, Decimals(row.value(c)));
                decimals_.push_back(most);
                double width = 0;
                for (const QString& line : report_.sliceHeader[c].split(QLatin1Char('\n'))) {
                    for (const QString& word : line.split(QLatin1Char(' ')))
                        width = std::max(width, heads.horizontalAdvance(word));
                    width = std::max(width, heads.horizontalAdvance(line) / 2);
                }
                for (const QStringList& row : report_.slices)
                    width = std::max(
                        width, numbers.horizontalAdvance(row.value(c) + MissingDecimals(row.value(c), most)));
                // Room for the padding on either side.
                width += numbers.horizontalAdvance(QStringLiteral("000"));
                edges_.push_back(width);
                needed += width;
            }
            double x = 0;
            for (double& edge : edges_) {
                x += edge * body_.width() / std::max(needed, 1.0);
                edge = x;
            }
            const double scale = kDpi / 72.0; // pixels per point
            rowHeight_ = kTablePt * 1.55 * scale;
            captionHeight_ = kTablePt * 4.4 * scale;
            headHeight_ = kTablePt * 3.6 * scale;
            const double rows = (body_.height() - captionHeight_ - headHeight_) / rowHeight_;
            rowsPerPage_ = std::max(1, static_cast<int>(rows));
        }

        int PageCount() const
        {
            const int rows = static_cast<int>(report_.slices.size());
            return std::max(1, (rows + rowsPerPage_ - 1) / rowsPerPage_);
        }

        void DrawPage(QPainter& painter, int index) const
        {
            painter.save();
            painter.translate(body_.topLeft());
            const double width = body_.width();
            const qsizetype columns = report_.sliceHeader.size();
            auto left = [&](qsizetype c) { return c == 0 ? 0.0 : edges_[static_cast<std::size_t>(c - 1)]; };
            auto right = [&](qsizetype c) { return edges_[static_cast<std::size_t>(c)]; };
            const double pad = kTablePt * 0.6 * kDpi / 72.0;

            QFont font = Font(kTablePt + 2);
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const double line = kTablePt * 1.6 * kDpi / 72.0;
            painter.drawText(QRectF(0, 0, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                index == 0 ? QStringLiteral("Slice table") : QStringLiteral("Slice table (continued)"));
            painter.setFont(Font(kTablePt));
            painter.drawText(QRectF(0, line, width, captionHeight_ - line),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, report_.sliceNote);

            double y = captionHeight_;
            const QRectF head(0, y, width, headHeight_);
            painter.fillRect(head, QColor(232, 232, 232));
            font.setPointSizeF(kTablePt);
            painter.setFont(font);
            for (qsizetype c = 0; c < columns; ++c)
                painter.drawText(QRectF(left(c) + pad / 4, y, right(c) - left(c) - pad / 2, headHeight_),
                    Qt::AlignCenter | Qt::TextWordWrap, report_.sliceHeader[c]);
            y += headHeight_;

            painter.setFont(Font(kTablePt));
            const std::size_t first = static_cast<std::size_t>(index) * static_cast<std::size_t>(rowsPerPage_);
            const std::size_t last = std::min(report_.slices.size(), first + static_cast<std::size_t>(rowsPerPage_));
            for (std::size_t r = first; r < last; ++r) {
                if ((r / 5) % 2 == 1)
                    painter.fillRect(QRectF(0, y, width, rowHeight_), QColor(244, 244, 244));
                const QStringList& row = report_.slices[r];
                for (qsizetype c = 0; c < row.size() && c < columns; ++c) {
                    const double shift = painter.fontMetrics().horizontalAdvance(
                        MissingDecimals(row[c], decimals_[static_cast<std::size_t>(c)]));
                    painter.drawText(QRectF(left(c), y, right(c) - left(c) - pad - shift, rowHeight_),
                        Qt::AlignRight | Qt::AlignVCenter, row[c]);
                }
                y += rowHeight_;
            }
            painter.setPen(QPen(QColor(120, 120, 120), kDpi / 150.0));
            painter.drawRect(QRectF(0, captionHeight_, width, y - captionHeight_));
            painter.drawLine(QPointF(0, captionHeight_ + headHeight_), QPointF(width, captionHeight_ + headHeight_));
            for (qsizetype c = 1; c < columns; ++c)
                painter.drawLine(QPointF(left(c), captionHeight_), QPointF(left(c), y));
            painter.restore();
        }

    private:
        const CalcReport& report_;
        QRectF body_;
        double rowHeight_ = 1;
        double captionHeight_ = 0;
        double headHeight_ = 0;
        int rowsPerPage_ = 1;
        std::vector<double> edges_; // the right edge of every column
        std::vector<qsizetype> decimals_; // the most decimals of every column
    };

    QString Text(const std::string& text) { return QString::fromStdString(text); }
    QString Value(double value) { return Text(FormatMask(value, mask::kDetails)); }

} // namespace

ReportSource MakeReportSource(std::shared_ptr<const Calculation> calculation, QString title, QString csfSource,
    JobDetails job, std::shared_ptr<const DesignCheck> check, std::string factorSet)
{
    return { std::move(calculation), std::move(title), std::move(csfSource), QStringLiteral("latcap " LATCAP_VERSION),
        QDateTime::currentDateTime(), std::move(job), std::move(check), std::move(factorSet) };
}

CalcReport MakeCalcReport(const ReportSource& source)
{
    const Calculation& calc = *source.calculation;
    const AnalysisState& state = *calc.state;
    // The inputs as given; under partial factors the calculation read their design values.
    const InputTexts& in = calc.given;
    const bool factored = !calc.factors.None();
    const QString onLoads = factored ? QStringLiteral(" \u00D7 \u03B3 / CSF") : QStringLiteral(" / CSF");
    const bool calcL = calc.command == Command::CalcL;
    // A misread box shows what the calculation used beside what was typed.
    const auto shown = [&calc](const std::string& name, const std::string& text) {
        for (const MisreadBox& box : calc.misread) {
            if (box.name == name)
                return Text(text) + QStringLiteral(" (read as ") + Text(ShortestText(box.value)) + QLatin1Char(')');
        }
        return Text(text);
    };
    CalcReport report;
    report.title = source.title;
    for (const auto& [name, value] : source.job.Named()) {
        if (!value.empty())
            report.job.push_back({ Text(name), Text(value), QString() });
    }
    QStringList heading;
    if (!source.job.job.empty())
        heading << QStringLiteral("Job ") + Text(source.job.job);
    if (!source.job.revision.empty())
        heading << QStringLiteral("revision ") + Text(source.job.revision);
    report.jobHeading = heading.join(QStringLiteral(", "));
    report.program = source.program;
    report.made = source.made;
    report.command = QString::fromLatin1(CommandName(calc.command));
    report.given = calcL ? QStringLiteral("the load H, the moment M, CSF and the layers")
                         : QStringLiteral("the load H, the depth L, CSF and the layers");
    report.found = calcL ? QStringLiteral("the depth L, Zr, the largest moment and shear")
                         : QStringLiteral("the moment M, Zr, the largest moment and shear");
    report.inputs.push_back({ QStringLiteral("H"), shown("H", in.h), QStringLiteral("kN") });
    if (calcL)
        report.inputs.push_back({ QStringLiteral("M"), shown("M", in.m), QStringLiteral("kNm") });
    else
        report.inputs.push_back({ QStringLiteral("L"), shown("L", in.l), QStringLiteral("m") });
    report.inputs.push_back({ QStringLiteral("CSF"), shown("CSF", in.csf), source.csfSource });
    report.inputs.push_back({ QStringLiteral("H") + onLoads, Value(state.H), QStringLiteral("kN") });
    if (calcL)
        report.inputs.push_back({ QStringLiteral("M") + onLoads, Value(state.M), QStringLiteral("kNm") });

    report.layerHeader = { QStringLiteral("Layer"), QStringLiteral("Top [m]"), QStringLiteral("Bottom [m]"),
        QStringLiteral("Unit weight [kN/m\u00B3]"), QStringLiteral("Cohesion [kPa]"),
        QStringLiteral("Friction angle [\u00B0]"), QStringLiteral("Width [m]") };
    for (int i = 0; i < calc.layerCount && i < kMaxLayers; ++i) {
        const LayerTexts& row = in.layers[static_cast<std::size_t>(i)];
        const std::string layer = "Layer " + std::to_string(i + 1) + " ";
        report.layers.push_back({ QString::number(i + 1), Text(row.from), shown(layer + "bottom", row.to),
            shown(layer + "unit weight", row.gama), shown(layer + "cohesion", row.c),
            shown(layer + "friction angle", row.phi), shown(layer + "width", row.d) });
    }
    for (const MisreadBox& box : calc.misread)
        report.misread.append(Text(MisreadNote(box)));

    report.results = { QString::fromLatin1(AnswerKey(calc.command)) + QStringLiteral(" = ") + Text(calc.outcome.answer),
        Text(calc.results.zr), Text(calc.results.moment), Text(calc.results.shear) };
    report.resultNotes.push_back({ QStringLiteral("Largest moment at depth"),
        Text(FormatMask(double(MaxMomentDepth(state)), mask::kDepth)), QStringLiteral("m") });
    report.resultNotes.push_back({ QStringLiteral("Largest shear at depth"),
        Text(FormatMask(double(MaxShearDepth(state)), mask::kDepth)), QStringLiteral("m") });
    for (const std::string& message : calc.messages)
        report.problems.append(Text(message));
    report.validResult = calc.validity.empty();
    if (factored) {
        const PartialFactors& f = calc.factors.factors;
        const double csf = ReadNumber(in.csf);
        const auto number = [](double value) { return Text(ShortestText(value)); };
        report.factors = {
            { QStringLiteral("Set"),
                Text(source.factorSet == calc.factors.name ? calc.factors.name
                                                           : source.factorSet + ", governed by " + calc.factors.name),
                Text(calc.factors.source) },
            { QStringLiteral("\u03B3Q on H and M, variable unfavourable actions"), number(f.load), QString() },
            { QStringLiteral("\u03B3R;e on the earth resistance (the loads multiplied by it)"), number(f.resistance),
                QString() },
            { QStringLiteral("\u03B3\u03C6' on tan \u03C6' (layers with friction)"), number(f.tanPhi), QString() },
            { QStringLiteral("\u03B3c' on c' (layers with friction)"), number(f.cohesion), QString() },
            { QStringLiteral("\u03B3cu on cu (layers with \u03C6 = 0: their cohesion is cu)"), number(f.undrained),
                QString() },
            { QStringLiteral("\u03B3\u03B3 on the unit weight"), number(f.unitWeight), QString() },
            { QStringLiteral("Factor on the loads \u03B3 / CSF = \u03B3Q \u00D7 \u03B3R;e / CSF = %1 \u00D7 %2 / %3")
                    .arg(number(f.load), number(f.resistance), number(csf)),
                Text(FormatMask(f.OnLoads() / csf, mask::kRatio)), QString() },
        };
        report.factorHeader
            = { QStringLiteral("Layer"), QStringLiteral("Unit weight k / d [kN/m\u00B3]"), QStringLiteral("Strength"),
                  QStringLiteral("Cohesion k / d [kPa]"), QStringLiteral("Friction angle k / d [\u00B0]") };
        for (int i = 0; i < calc.layerCount && i < kMaxLayers; ++i) {
            const LayerTexts& k = in.layers[static_cast<std::size_t>(i)];
            const LayerTexts& d = calc.inputs.layers[static_cast<std::size_t>(i)];
            const auto pair = [](const std::string& a, const std::string& b) {
                return Text(ShortestText(ReadNumber(a))) + QStringLiteral(" / ")
                    + Text(FormatMask(ReadNumber(b), mask::kRatio));
            };
            report.factorLayers.push_back({ QString::number(i + 1), pair(k.gama, d.gama),
                ReadNumber(k.phi) == 0.0 ? QStringLiteral("cu") : QStringLiteral("c'"), pair(k.c, d.c),
                pair(k.phi, d.phi) });
        }
    }
    if (const DesignCheck* check = source.check.get(); check != nullptr && check->judged) {
        const CheckTexts texts = ShownCheck(*check);
        report.designCheck = {
            { QStringLiteral("Load factor \u03BB (factor of safety)"), Text(texts.loadFactor), QString() },
            { QStringLiteral("Ultimate load Hu = \u03BB H at e = M / H = ") + Text(texts.loadHeight)
                    + QStringLiteral(" m above the ground"),
                Text(texts.ultimateLoad), QStringLiteral("kN") },
            { QStringLiteral("Utilisation 1 / \u03BB"), Text(texts.utilisation), QString() },
            { QStringLiteral("Depth required (the smallest that passes)"),
                check->depthRequired > 0 ? Text(texts.depthRequired) : QStringLiteral("more than 100"),
                QStringLiteral("m") },
            { QStringLiteral("Partial factors"),
                Text(source.factorSet == check->factors.name
                        ? check->factors.name
                        : source.factorSet + ", governed by " + check->factors.name),
                QString() },
        };
        report.designOk = check->ok;
        // Every value with its unit, the depth as given and the moment carried there.
        report.results = { QStringLiteral("L = ") + Text(FormatMask(calc.Depth(), mask::kDepth)) + QStringLiteral(" m"),
            QStringLiteral("M = ") + Text(calc.outcome.answer) + QStringLiteral(" kNm (carried at L with H)"),
            Text(calc.results.zr), Text(calc.results.moment), Text(calc.results.shear) };
        const auto forces = [&report](const QString& where, const Calculation& at) {
            const AnalysisState& s = *at.state;
            report.resultNotes.push_back({ where + QStringLiteral(": largest moment"),
                Text(FormatMask(ShownMaxMoment(s), mask::kLargest)), QStringLiteral("kNm") });
            report.resultNotes.push_back({ where + QStringLiteral(": largest shear"),
                Text(FormatMask(ShownMaxShear(s), mask::kLargest)), QStringLiteral("kN") });
        };
        if (check->required)
            forces(QStringLiteral("Under the design loads (depth required ") + Text(texts.depthRequired)
                    + QStringLiteral(" m)"),
                *check->required);
        forces(QStringLiteral("At the ultimate state (L, \u03BB H, \u03BB M)"), *check->ultimate);
    }

    const Equilibrium balance = EquilibriumCheck(state);
    const auto significant = [](double value) { return Text(SignificantText(value, 5)); };
    report.equilibrium = {
        { QStringLiteral("Soil forces, against H above Zr and with it below"), significant(balance.force),
            QStringLiteral("kN") },
        { QStringLiteral("H") + onLoads, significant(balance.load), QStringLiteral("kN") },
        { QStringLiteral("Residual"), significant(balance.forceResidual), QStringLiteral("kN") },
        { QStringLiteral("Moment of the soil forces about the pile head"), significant(balance.moment),
            QStringLiteral("kNm") },
        { QStringLiteral("M") + onLoads, significant(balance.headMoment), QStringLiteral("kNm") },
        { QStringLiteral("Residual"), significant(balance.momentResidual), QStringLiteral("kNm") },
    };
    report.coefficientHeader = { QStringLiteral("Layer"), QStringLiteral("\u03C6 [\u00B0]"),
        QStringLiteral("z top [m]"), QStringLiteral("z/D"), QStringLiteral("Kq"), QStringLiteral("Kc"),
        QStringLiteral("z bottom [m]"), QStringLiteral("z/D"), QStringLiteral("Kq"), QStringLiteral("Kc") };
    const auto three = [](double value) { return Text(FormatMask(value, mask::kRatio)); };
    for (const LayerCoefficients& row : CoefficientsOfLayers(calc))
        report.coefficients.push_back({ QString::number(row.layer), Text(ShortestText(row.frictionAngle)),
            three(row.topZ), three(row.topRatio), three(row.topKq), three(row.topKc), three(row.bottomZ),
            three(row.bottomRatio), three(row.bottomKq), three(row.bottomKc) });
    const double csf = state.CSF;
    if (factored)
        report.notes.append(QStringLiteral("The loads are divided by CSF and multiplied by the partial factors on "
                                           "the loads, %1 in all, before the analysis; shear and moment in the pile "
                                           "are divided by it again where they are shown.")
                                .arg(Text(FormatMask(1.0 / csf, mask::kRatio))));
    else
        report.notes.append(QStringLiteral("The loads are divided by CSF = %1 before the analysis, so the factor of "
                                           "safety on the loads is 1 / CSF = %2; shear and moment in the pile are "
                                           "multiplied by CSF again where they are shown.")
                                .arg(Text(ShortestText(state.CSF)), Text(FormatMask(1.0 / csf, mask::kFactor))));
    const float width = state.Layer[1].D;
    const Rigidity& rigidity = calc.rigidity;
    report.notes.append(
        QStringLiteral("L / D = %1 / %2 = %3, D being the pile width in layer 1. The pile is taken "
                       "as rigid; %4.")
            .arg(Text(FormatMask(calc.Depth(), mask::kDepth)), Text(ShortestText(width)),
                Text(FormatMask(double(calc.Depth()) / width, mask::kSlenderness)),
                rigidity.checked ? QStringLiteral("its stiffness is checked below by Broms' relative "
                                                  "stiffness of a free-headed short pile")
                    : in.nh.empty() && in.k.empty() ? QStringLiteral("its stiffness is not checked")
                                                    : QStringLiteral("its stiffness is not checked: no EI given")));
    if (rigidity.checked) {
        const auto figure = [](double value) { return Text(SignificantText(value, 5)); };
        report.rigidity.push_back({ QStringLiteral("EI"), shown("EI", in.ei), QStringLiteral("kNm\u00B2") });
        report.rigidity.push_back(
            { QStringLiteral("L"), Text(FormatMask(rigidity.depth, mask::kDepth)), QStringLiteral("m") });
        for (const StiffnessCriterion& c : rigidity.criteria) {
            if (c.cohesive) {
                report.rigidity.push_back(
                    { QStringLiteral("k (constant with depth)"), shown("k", in.k), QStringLiteral("kN/m\u00B3") });
                report.rigidity.push_back({ QStringLiteral("D, the widest the pile reaches"),
                    Text(ShortestText(static_cast<float>(c.width))), QStringLiteral("m") });
                report.rigidity.push_back(
                    { QStringLiteral("\u03B2 = (k D / (4 EI))^(1/4)"), figure(c.factor), QStringLiteral("1/m") });
            } else {
                report.rigidity.push_back(
                    { QStringLiteral("nh (growing with depth)"), shown("nh", in.nh), QStringLiteral("kN/m\u00B3") });
                report.rigidity.push_back(
                    { QStringLiteral("\u03B7 = (nh / EI)^(1/5)"), figure(c.factor), QStringLiteral("1/m") });
            }
            report.rigidity.push_back({ c.cohesive ? QStringLiteral("\u03B2L, short and rigid at most 1.5")
                                                   : QStringLiteral("\u03B7L, short and rigid at most 2"),
                Text(CriterionText(c)), c.Holds() ? QStringLiteral("holds") : QStringLiteral("fails") });
        }
        report.rigidityNotes.append(rigidity.Rigid()
                ? QStringLiteral("The pile is rigid by every criterion given.")
                : QStringLiteral("The pile is not rigid: it bends before it turns as a rigid body, and the "
                                 "rigid-pile capacity overstates what it carries. No valid result."));
        if (rigidity.criteria.size() > 1)
            report.rigidityNotes.append(
                QStringLiteral("Every criterion whose modulus is given must hold: the stricter one decides."));
        for (const bool cohesive : { true, false }) {
            if (std::any_of(rigidity.criteria.begin(), rigidity.criteria.end(),
                    [cohesive](const StiffnessCriterion& c) { return c.cohesive == cohesive; }))
                report.rigidityNotes.append(QStringLiteral("Reference: ") + Text(BromsReference(cohesive)));
        }
    }
    const BromsResult broms = BromsCrossCheck(calc);
    if (broms.applicable) {
        const QString quantity = calcL ? QStringLiteral("Depth L [m]") : QStringLiteral("Moment carried M [kNm]");
        report.bromsHeader = { QStringLiteral("Method"), quantity, QStringLiteral("Largest moment [kNm]") };
        const double theirs = calcL ? double(broms.depth) : broms.moment;
        report.broms = {
            { QStringLiteral("Brinch Hansen"), Text(calc.outcome.answer),
                Text(FormatMask(ShownMaxMoment(state), mask::kLargest)) },
            { broms.cohesive ? QStringLiteral("Broms, cohesive soil") : QStringLiteral("Broms, cohesionless soil"),
                Text(FormatMask(theirs, calcL ? mask::kDepth : mask::kMoment)),
                Text(FormatMask(broms.maxMoment, mask::kLargest)) },
        };
        for (const std::string& line : BromsComparison(calc, broms))
            report.bromsNotes.append(Text(line));
        for (const BromsTerm& term : BromsWorkingTerms(calc, broms))
            report.bromsWorking.push_back({ Text(term.name), Text(term.value), Text(term.unit) });
        if (!broms.cohesive)
            report.bromsWorkingNotes.append(
                QStringLiteral("0.82 and 0.67 are Broms' roundings of \u221A(2/3) = 0.816 and 2/3."));
        report.bromsWorkingNotes.append(QStringLiteral("The working takes the loads divided by CSF; the table "
                                                       "multiplies the moments by CSF again."));
        report.bromsWorkingNotes.append(QStringLiteral("Reference: ") + Text(BromsReference(broms.cohesive)));
    } else {
        report.bromsNotes.append(QStringLiteral("Broms' method does not apply: %1.").arg(Text(broms.reason)));
    }
    report.reference = QStringLiteral("J. Brinch Hansen (1961), \u201CThe ultimate resistance of rigid piles "
                                      "against transversal forces\u201D, Danish Geotechnical Institute, Bulletin "
                                      "No. 12.");

    report.sliceHeader = { QStringLiteral("z\n[m]"), QStringLiteral("Weight above\n[kPa]"), QStringLiteral("Kq\n[-]"),
        QStringLiteral("Kc\n[-]"), QStringLiteral("dZ\n[m]"), QStringLiteral("Soil pressure\n[kPa]"),
        QStringLiteral("Soil force\n[kN]"), QStringLiteral("CSF \u00D7 shear\n[kN]"),
        QStringLiteral("CSF \u00D7 moment\n[kNm]") };
    for (int i = 1; i <= std::min<int>(state.NoSlices, kMaxSlices); ++i) {
        const SliceType& s = state.Slice[static_cast<std::size_t>(i)];
        QStringList row;
        for (const double value : { double(s.Z), double(s.WeightAbove), double(s.Kq), double(s.Kc), double(s.dZ),
                 double(s.SoilPressure), double(s.SoilForce), double(static_cast<float>(csf * s.Shear)),
                 double(static_cast<float>(csf * s.Moment)) })
            row.append(significant(value));
        report.slices.push_back(row);
    }
    report.sliceNote = QStringLiteral("The soil force is that of one slice, soil pressure \u00D7 pile width \u00D7 "
                                      "dZ, unfactored; shear and moment are the pile's, multiplied by CSF.");
    report.drawDiagrams = [diagrams = DiagramSource { source.calculation, source.title }](
                              QPainter& painter, const QRectF& area) { DrawDiagrams(painter, area, diagrams); };
    return report;
}

bool WriteCalcReportPdf(QIODevice& device, const CalcReport& report, QString& error)
{
    QPdfWriter writer(&device);
    writer.setResolution(kDpi);
    writer.setTitle(report.title);
    writer.setCreator(report.program);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 12, 15, 12), QPageLayout::Millimeter));
    Pages pages(writer, report);

    QTextDocument summary;
    pages.SetUp(summary);
    summary.setHtml(SummaryHtml(report));

    const int summaryPages = summary.pageCount();
    const SliceTable slices(report, pages.Body(), writer);
    const int total = summaryPages + 1 + slices.PageCount();
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("the PDF could not be started");
        return false;
    }
    int page = 0;
    // A new page of the given orientation; the diagrams are wider than high.
    auto next = [&](QPageLayout::Orientation orientation) {
        if (page > 0) {
            writer.setPageOrientation(orientation);
            writer.newPage();
        }
        ++page;
        pages.Frame(painter, page, total);
    };
    for (int i = 0; i < summaryPages; ++i) {
        next(QPageLayout::Portrait);
        pages.DrawPage(painter, summary, i);
    }
    next(QPageLayout::Landscape);
    if (report.drawDiagrams)
        report.drawDiagrams(painter, pages.Body());
    for (int i = 0; i < slices.PageCount(); ++i) {
        next(QPageLayout::Portrait);
        slices.DrawPage(painter, i);
    }
    if (!painter.end()) {
        error = QStringLiteral("the PDF could not be finished");
        return false;
    }
    return true;
}

} // namespace latcap
