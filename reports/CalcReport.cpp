#include "CalcReport.h"

#include "FileFormats.h"
#include "NumberText.h"

#include <QAbstractTextDocumentLayout>
#include <QIODevice>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace latcap {
namespace {

    constexpr int kDpi = 300;
    constexpr double kHeaderPt = 9.0;

    const QColor kWarning(170, 20, 20);

    QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

    QString Table(const QStringList& header, const std::vector<QStringList>& rows, bool numeric)
    {
        QString html = QStringLiteral("<table cellspacing='0' cellpadding='3' border='1' width='100%'>"
                                      "<thead><tr>");
        for (const QString& cell : header)
            html += QStringLiteral("<th bgcolor='#e8e8e8'>%1</th>").arg(Escaped(cell));
        html += QStringLiteral("</tr></thead>");
        for (const QStringList& row : rows) {
            html += QStringLiteral("<tr>");
            for (qsizetype i = 0; i < row.size(); ++i) {
                const bool right = numeric || i > 0;
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
        return report.problems.isEmpty()
            ? QStringLiteral("Converged")
            : QStringLiteral("NOT CONVERGED: ") + report.problems.join(QStringLiteral("; "));
    }

    // The first part of the report: heading, inputs, results, status, method.
    QString SummaryHtml(const CalcReport& report)
    {
        QString html;
        html += QStringLiteral("<h2>%1</h2>")
                    .arg(Escaped(report.title.isEmpty() ? QStringLiteral("(no title)") : report.title));
        html += QStringLiteral("<p>%1<br>%2, %3<br><b>%4</b>: given %5; found %6.</p>")
                    .arg(Escaped(report.program),
                        Escaped(QLocale::c().toString(report.made, QStringLiteral("yyyy-MM-dd HH:mm"))),
                        QStringLiteral("Brinch Hansen method"), Escaped(report.command), Escaped(report.given),
                        Escaped(report.found));
        if (report.problems.isEmpty()) {
            html += QStringLiteral("<p><b>Status: converged.</b></p>");
        } else {
            html += QStringLiteral("<table border='2' cellpadding='8' width='100%'><tr><td><font color='#aa1414' "
                                   "size='+1'><b>%1</b></font><br>The results below are those the solver left when "
                                   "it gave up; do not use them for design.</td></tr></table>")
                        .arg(Escaped(StatusText(report)));
        }
        html += QStringLiteral("<h3>Inputs</h3>") + Lines(report.inputs);
        html += QStringLiteral("<p></p>") + Table(report.layerHeader, report.layers, false);
        html += QStringLiteral("<h3>Results</h3><p>");
        for (const QString& line : report.results)
            html += QStringLiteral("<b>%1</b><br>").arg(Escaped(line));
        html += QStringLiteral("</p>") + Lines(report.resultNotes);
        html += QStringLiteral(
            "<h3>Method</h3><p>The pile is taken as rigid and free at its head, and turns about a point at depth Zr. "
            "The soil in front of the pile gives its ultimate passive resistance by Brinch Hansen's earth pressure "
            "coefficients Kq and Kc, slice by slice, fifty slices in every layer above and below Zr. The depth L "
            "(Calc L) or the moment M (Calc M) is found where the horizontal forces and the moments about the pile "
            "head are in equilibrium. The lateral load H and the moment M act at the ground surface; the loads are "
            "divided by the component strength factor CSF before the analysis, and the shear and moment in the pile "
            "are shown multiplied by it again. There is no water table: submerged unit weights are entered as such."
            "</p>");
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
            body_ = QRectF(0, header_, writer.width(), writer.height() - header_ - footer_);
        }

        QRectF Body() const { return body_; }

        // Lays a part of the report out in pages of the body's size.
        void SetUp(QTextDocument& document) const
        {
            document.documentLayout()->setPaintDevice(&writer_);
            document.setPageSize(body_.size());
            QFont font(QStringLiteral("sans-serif"));
            font.setStyleHint(QFont::SansSerif);
            font.setPointSizeF(10);
            document.setDefaultFont(font);
            document.setDocumentMargin(0);
        }

        void Frame(QPainter& painter, int page, int pages) const
        {
            painter.save();
            QFont font(QStringLiteral("sans-serif"));
            font.setPointSizeF(kHeaderPt);
            painter.setFont(font);
            const QRectF top(0, 0, writer_.width(), header_ * 0.6);
            painter.setPen(Qt::black);
            painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, report_.title);
            painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, report_.command);
            if (!report_.problems.isEmpty()) {
                painter.setPen(kWarning);
                font.setBold(true);
                painter.setFont(font);
                painter.drawText(QRectF(0, header_ * 0.5, writer_.width(), header_ * 0.4),
                    Qt::AlignLeft | Qt::AlignVCenter, StatusText(report_));
                font.setBold(false);
                painter.setFont(font);
            }
            painter.setPen(Qt::black);
            painter.drawLine(QPointF(0, header_ * 0.92), QPointF(writer_.width(), header_ * 0.92));
            const QRectF bottom(0, writer_.height() - footer_ * 0.7, writer_.width(), footer_ * 0.7);
            painter.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter, report_.program);
            painter.drawText(
                bottom, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
            painter.restore();
        }

        // Draws one page of a laid-out document into the body.
        void DrawPage(QPainter& painter, QTextDocument& document, int index) const
        {
            painter.save();
            painter.translate(body_.left(), body_.top() - index * body_.height());
            const QRectF clip(0, index * body_.height(), body_.width(), body_.height());
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
        QRectF body_;
    };

    QString Text(const std::string& text) { return QString::fromStdString(text); }
    QString Value(double value) { return Text(FormatMask(value, "#####0.0##")); }

    // The depth of the slice whose value is the signed maximum.
    double DepthOf(const AnalysisState& state, float SliceType::*field, float maximum)
    {
        for (int i = 1; i <= std::min<int>(state.NoSlices, kMaxSlices); ++i) {
            const SliceType& slice = state.Slice[static_cast<std::size_t>(i)];
            if (slice.*field == maximum)
                return slice.Z;
        }
        return 0.0;
    }

} // namespace

CalcReport MakeCalcReport(const ReportSource& source)
{
    const AnalysisState& state = source.state;
    const InputTexts& in = source.inputs;
    CalcReport report;
    report.title = source.title;
    report.program = source.program;
    report.made = source.made;
    report.command = source.calcL ? QStringLiteral("Calc L") : QStringLiteral("Calc M");
    report.given = source.calcL ? QStringLiteral("the load H, the moment M, CSF and the layers")
                                : QStringLiteral("the load H, the depth L, CSF and the layers");
    report.found = source.calcL ? QStringLiteral("the depth L, Zr, the largest moment and shear")
                                : QStringLiteral("the moment M, Zr, the largest moment and shear");
    report.inputs.push_back({ QStringLiteral("H"), Text(in.h), QStringLiteral("kN") });
    if (source.calcL)
        report.inputs.push_back({ QStringLiteral("M"), Text(in.m), QStringLiteral("kNm") });
    else
        report.inputs.push_back({ QStringLiteral("L"), Text(in.l), QStringLiteral("m") });
    report.inputs.push_back({ QStringLiteral("CSF"), Text(in.csf), source.csfSource });
    report.inputs.push_back({ QStringLiteral("H / CSF"), Value(state.H), QStringLiteral("kN") });
    if (source.calcL)
        report.inputs.push_back({ QStringLiteral("M / CSF"), Value(state.M), QStringLiteral("kNm") });

    report.layerHeader = { QStringLiteral("Layer"), QStringLiteral("Top [m]"), QStringLiteral("Bottom [m]"),
        QStringLiteral("Unit weight [kN/m\u00B3]"), QStringLiteral("Cohesion [kPa]"),
        QStringLiteral("Friction angle [\u00B0]"), QStringLiteral("Width [m]") };
    for (int i = 0; i < source.layerCount && i < kMaxLayers; ++i) {
        const LayerTexts& row = in.layers[static_cast<std::size_t>(i)];
        report.layers.push_back({ QString::number(i + 1), Text(row.from), Text(row.to), Text(row.gama), Text(row.c),
            Text(row.phi), Text(row.d) });
    }

    report.results = { (source.calcL ? QStringLiteral("L = ") : QStringLiteral("M = ")) + Text(source.outcome.answer),
        Text(source.results.zr), Text(source.results.moment), Text(source.results.shear) };
    report.resultNotes.push_back({ QStringLiteral("Largest moment at depth"),
        Text(FormatMask(DepthOf(state, &SliceType::Moment, state.MaxMoment), "##0.000")), QStringLiteral("m") });
    report.resultNotes.push_back({ QStringLiteral("Largest shear at depth"),
        Text(FormatMask(DepthOf(state, &SliceType::Shear, state.MaxShear), "##0.000")), QStringLiteral("m") });
    report.problems = source.problems;

    for (const std::string& cell : CalcDetailsHeader())
        report.sliceHeader.append(Text(cell));
    for (int i = 1; i <= std::min<int>(state.NoSlices, kMaxSlices); ++i) {
        QStringList row;
        for (const std::string& cell : CalcDetailsRow(state, i))
            row.append(Text(cell));
        report.slices.push_back(row);
    }
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
    QTextDocument slices;
    pages.SetUp(slices);
    slices.setHtml(QStringLiteral("<h3>Slice table</h3>") + Table(report.sliceHeader, report.slices, true));

    const int summaryPages = summary.pageCount();
    const int total = summaryPages + 1 + slices.pageCount();
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("the PDF could not be started");
        return false;
    }
    int page = 0;
    auto next = [&]() {
        if (page > 0)
            writer.newPage();
        ++page;
        pages.Frame(painter, page, total);
    };
    for (int i = 0; i < summaryPages; ++i) {
        next();
        pages.DrawPage(painter, summary, i);
    }
    next();
    if (report.drawDiagrams)
        report.drawDiagrams(painter, pages.Body());
    for (int i = 0; i < slices.pageCount(); ++i) {
        next();
        pages.DrawPage(painter, slices, i);
    }
    if (!painter.end()) {
        error = QStringLiteral("the PDF could not be finished");
        return false;
    }
    return true;
}

} // namespace latcap
