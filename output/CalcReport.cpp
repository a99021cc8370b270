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
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <memory>

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

    // A number as the tables write it: digits with at most one point.
    bool IsNumber(const QString& text)
    {
        static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
        return number.match(text).hasMatch();
    }

    qsizetype Decimals(const QString& text)
    {
        const qsizetype point = text.indexOf(QLatin1Char('.'));
        return point < 0 ? 0 : text.size() - point - 1;
    }

    // The numbers of a right-aligned column filled out on the right with
    // blanks as wide as a point and as a digit, so that their points line up;
    // the cells must keep their blanks (white-space: pre).
    void AlignPoints(std::vector<QString*> column)
    {
        qsizetype most = 0;
        bool point = false;
        for (const QString* cell : column) {
            if (IsNumber(*cell)) {
                most = std::max(most, Decimals(*cell));
                point = point || cell->contains(QLatin1Char('.'));
            }
        }
        for (QString* cell : column) {
            if (!IsNumber(*cell))
                continue;
            if (point && !cell->contains(QLatin1Char('.')))
                *cell += QChar(0x2008);
            *cell += QString(most - Decimals(*cell), QChar(0x2007));
        }
    }

    // The style of a cell that keeps the blanks of a number filled out;
    // other texts wrap as usual.
    QString Kept(const QString& cell)
    {
        return IsNumber(cell.trimmed()) ? QStringLiteral(" style='white-space:pre'") : QString();
    }

    QString Table(const QStringList& header, std::vector<QStringList> rows)
    {
        for (qsizetype c = 1; c < header.size(); ++c) {
            std::vector<QString*> column;
            for (QStringList& row : rows) {
                if (c < row.size())
                    column.push_back(&row[c]);
            }
            AlignPoints(column);
        }
        QString html = QStringLiteral("<table cellspacing='0' cellpadding='3' border='1' width='100%'>"
                                      "<thead><tr>");
        for (const QString& cell : header)
            html += QStringLiteral("<th bgcolor='#e8e8e8'>%1</th>").arg(Escaped(cell));
        html += QStringLiteral("</tr></thead>");
        for (const QStringList& row : rows) {
            html += QStringLiteral("<tr>");
            for (qsizetype i = 0; i < row.size(); ++i) {
                html += QStringLiteral("<td align='%1'%2>%3</td>")
                            .arg(i > 0 ? QStringLiteral("right") : QStringLiteral("left"), Kept(row[i]),
                                Escaped(row[i]));
            }
            html += QStringLiteral("</tr>");
        }
        return html + QStringLiteral("</table>");
    }

    QString Lines(std::vector<CalcReport::Line> lines)
    {
        std::vector<QString*> values;
        for (CalcReport::Line& line : lines)
            values.push_back(&line.value);
        AlignPoints(values);
        QString html = QStringLiteral("<table cellspacing='0' cellpadding='2'>");
        for (const CalcReport::Line& line : lines)
            html += QStringLiteral("<tr><td>%1</td><td align='right'%2>&nbsp;&nbsp;%3</td><td>&nbsp;%4</td></tr>")
                        .arg(Escaped(line.name), Kept(line.value), Escaped(line.value), Escaped(line.unit));
        return html + QStringLiteral("</table>");
    }

    QString StatusText(const CalcReport& report)
    {
        if (report.problems.isEmpty())
            return QStringLiteral("Converged");
        return (report.validResult ? QStringLiteral("NOT CONVERGED: ") : QStringLiteral("NO VALID RESULT: "))
            + report.problems.join(QStringLiteral("; "));
    }

    // A piece of the first pages that is never cut by a page break: a heading
    // with what it heads, a paragraph, a short table.
    struct Block {
        QString html;
        bool heading = false; // begins with a heading, and stands further from what is above
    };

    QString Heading(const QString& text) { return QStringLiteral("<h3 style='margin-top:0'>%1</h3>").arg(text); }

    QString Paragraph(const QString& html)
    {
        return QStringLiteral("<p style='margin-top:0; margin-bottom:0'>%1</p>").arg(html);
    }

    // The first part of the report: heading, inputs, results, status, method.
    std::vector<Block> SummaryBlocks(const CalcReport& report)
    {
        std::vector<Block> blocks;
        const auto add = [&blocks](const QString& html) { blocks.push_back({ html, false }); };
        const auto headed = [&blocks](const QString& heading, const QString& html) {
            blocks.push_back({ Heading(heading) + html, true });
        };
        QString top = QStringLiteral("<h2 style='margin-top:0'>%1</h2>")
                          .arg(Escaped(report.title.isEmpty() ? QStringLiteral("(no title)") : report.title));
        if (!report.job.empty()) {
            top += QStringLiteral("<table cellspacing='0' cellpadding='2'>");
            for (const CalcReport::Line& line : report.job)
                top += QStringLiteral("<tr><td>%1&nbsp;&nbsp;</td><td>%2</td></tr>")
                           .arg(Escaped(line.name), Escaped(line.value));
            top += QStringLiteral("</table>");
        }
        add(top);
        if (!report.designCheck.empty()) {
            headed(QStringLiteral("Design check: <font color='%1'>%2</font>")
                       .arg(report.designOk ? QStringLiteral("#146e3c") : QStringLiteral("#aa1414"),
                           report.designOk ? QStringLiteral("OK") : QStringLiteral("NOT OK")),
                Lines(report.designCheck));
            add(Paragraph(
                QStringLiteral("\u03BB is the factor by which H and M can be raised together, the load keeping "
                               "its height e, until the pile of depth L is at its ultimate state (Calc M with "
                               "\u03BB H carries \u03BB M); the loads are those after CSF and the partial factors. "
                               "OK when \u03BB is at least 1 and the results are valid. \u03BB and Hu are rounded "
                               "down, the utilisation and the depth required up.")));
        }
        add(QStringLiteral("<table cellspacing='0' cellpadding='2'>"
                           "<tr><td>Calculation&nbsp;&nbsp;</td><td><b>%1</b>: given %2; found %3.</td></tr>"
                           "<tr><td>Method</td><td>Brinch Hansen, short rigid pile</td></tr>"
                           "<tr><td>Made</td><td>%4 with %5</td></tr></table>")
                .arg(Escaped(report.command), Escaped(report.given), Escaped(report.found),
                    Escaped(QLocale::c().toString(report.made, QStringLiteral("yyyy-MM-dd HH:mm"))),
                    Escaped(report.program)));
        if (report.problems.isEmpty()) {
            add(Paragraph(QStringLiteral("<b>Status: converged.</b>")));
        } else {
            add(QStringLiteral("<table border='2' cellpadding='8' width='100%'><tr><td><font color='#aa1414' "
                               "size='+1'><b>%1</b></font><br>%2; do not use them for design.</td></tr></table>")
                    .arg(Escaped(StatusText(report)),
                        report.validResult
                            ? QStringLiteral("The results below are those the solver left when it gave up")
                            : QStringLiteral("The results below lie outside what the method can give")));
        }
        if (!report.misread.isEmpty())
            add(Paragraph(QStringLiteral("<font color='#aa1414'><b>Inputs were misread:</b> %1.</font> The "
                                         "calculation used the values read.")
                              .arg(Escaped(report.misread.join(QStringLiteral("; "))))));
        headed(QStringLiteral("Inputs"), Lines(report.inputs));
        add(Table(report.layerHeader, report.layers));
        if (!report.factors.empty()) {
            headed(QStringLiteral("Partial factors"), Lines(report.factors));
            add(Table(report.factorHeader, report.factorLayers));
        }
        QString results = QStringLiteral("<p style='margin-top:0'>");
        for (const QString& line : report.results)
            results += QStringLiteral("<b>%1</b><br>").arg(Escaped(line));
        headed(QStringLiteral("Results"), results + QStringLiteral("</p>") + Lines(report.resultNotes));
        headed(QStringLiteral("Equilibrium of the slices"), Lines(report.equilibrium));
        headed(QStringLiteral("Coefficients Kq and Kc"),
            QStringLiteral("<p style='margin-top:0'>At the top and at the bottom (or the pile toe) of each layer the "
                           "pile reaches, as the slices take them.</p>")
                + Table(report.coefficientHeader, report.coefficients));
        for (qsizetype i = 0; i < report.notes.size(); ++i) {
            if (i == 0)
                headed(QStringLiteral("Strength factor and rigidity"), Paragraph(Escaped(report.notes[i])));
            else
                add(Paragraph(Escaped(report.notes[i])));
        }
        if (!report.rigidity.empty())
            add(Lines(report.rigidity));
        for (const QString& note : report.rigidityNotes)
            add(Paragraph(Escaped(note)));
        const QString broms = QStringLiteral("Cross-check by Broms' method");
        if (!report.broms.empty())
            headed(broms, Table(report.bromsHeader, report.broms));
        for (qsizetype i = 0; i < report.bromsNotes.size(); ++i) {
            if (i == 0 && report.broms.empty())
                headed(broms, Paragraph(Escaped(report.bromsNotes[i])));
            else
                add(Paragraph(Escaped(report.bromsNotes[i])));
        }
        if (!report.bromsWorking.empty())
            add(Paragraph(QStringLiteral("Broms' working:")) + Lines(report.bromsWorking));
        for (const QString& note : report.bromsWorkingNotes)
            add(Paragraph(Escaped(note)));
        headed(QStringLiteral("Method"),
            Paragraph(QStringLiteral(
                "The pile is taken as rigid and free at its head, and turns about a point at depth Zr. "
                "The soil in front of the pile gives its ultimate passive resistance by Brinch Hansen's earth "
                "pressure coefficients Kq and Kc, slice by slice, fifty slices in every layer above and below Zr. "
                "The depth L (Calc L) or the moment M (Calc M) is found where the horizontal forces and the "
                "moments about the pile head are in equilibrium. The lateral load H and the moment M act at the "
                "ground surface; the loads are divided by the component strength factor CSF before the analysis, "
                "and the shear and moment in the pile are shown multiplied by it again. There is no water table: "
                "submerged unit weights are entered as such.")));
        add(Paragraph(QStringLiteral("<b>Reference:</b> %1").arg(Escaped(report.reference))));
        return blocks;
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

    private:
        QPdfWriter& writer_;
        const CalcReport& report_;
        double header_ = 0;
        double footer_ = 0;
    };

    // Where a block may go on over a page break: between two lines of a
    // paragraph (not in a table) with two lines of it at least on either side.
    std::vector<double> Breaks(QTextDocument& document)
    {
        std::vector<double> breaks;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            if (layout == nullptr || QTextCursor(block).currentTable() != nullptr)
                continue;
            for (int line = 2; line + 2 <= layout->lineCount(); ++line)
                breaks.push_back(layout->position().y() + layout->lineAt(line).y());
        }
        std::sort(breaks.begin(), breaks.end());
        return breaks;
    }

    // The first pages: the blocks one under the other, a block that does not
    // fit in what is left of a page going on over the break where it may, or
    // else beginning the next page.
    class Summary {
    public:
        Summary(const CalcReport& report, const Pages& pages)
        {
            const QSizeF body = pages.Body().size();
            const double point = kDpi / 72.0;
            int page = 0;
            double y = 0;
            for (const Block& block : SummaryBlocks(report)) {
                auto document = std::make_unique<QTextDocument>();
                pages.SetUp(*document);
                document->setPageSize(QSizeF(body.width(), -1));
                document->setHtml(block.html);
                const double height = document->documentLayout()->documentSize().height();
                const std::vector<double> breaks = Breaks(*document);
                // The last break from..to leaves above it, or to itself.
                const auto last = [&breaks](double from, double to) {
                    double found = from;
                    for (const double at : breaks) {
                        if (at > from && at <= to)
                            found = at;
                    }
                    return found;
                };
                const std::size_t index = documents_.size();
                documents_.push_back(std::move(document));
                double gap = y > 0 ? (block.heading ? 14 : 7) * point : 0;
                double from = 0;
                if (y > 0 && y + gap + height > body.height()) {
                    const double part = last(0, body.height() - y - gap);
                    if (part > 0 && height - part <= body.height()) {
                        placed_.push_back({ index, page, y + gap, 0, part });
                        from = part;
                    }
                    ++page;
                    y = 0;
                    gap = 0;
                }
                // Longer than a page: a great many misread boxes.
                while (height - from > body.height()) {
                    double to = last(from, from + body.height());
                    to = to > from ? to : from + body.height();
                    placed_.push_back({ index, page++, 0, from, to });
                    from = to;
                }
                placed_.push_back({ index, page, y + gap, from, height });
                y += gap + height - from;
            }
            pageCount_ = page + 1;
        }

        int PageCount() const { return pageCount_; }

        void DrawPage(QPainter& painter, const Pages& pages, int page) const
        {
            const QRectF body = pages.Body();
            for (const Placed& at : placed_) {
                if (at.page != page)
                    continue;
                painter.save();
                painter.translate(body.left(), body.top() + at.y - at.from);
                const QRectF clip(0, at.from, body.width(), at.to - at.from);
                painter.setClipRect(clip);
                QAbstractTextDocumentLayout::PaintContext context;
                context.clip = clip;
                context.palette.setColor(QPalette::Text, Qt::black);
                documents_[at.document]->documentLayout()->draw(&painter, context);
                painter.restore();
            }
        }

    private:
        struct Placed {
            std::size_t document;
            int page;
            double y; // of its top, from the top of the body
            double from; // the part of the document on this page
            double to;
        };
        std::vector<std::unique_ptr<QTextDocument>> documents_;
        std::vector<Placed> placed_;
        int pageCount_ = 1;
    };

    // The slice table, drawn row by row so that every page holds whole rows
    // under the column heads, with the row of Zr between the slices above and
    // below it. No page ends on the row of Zr, and the last holds a few
    // slices at least.
    class SliceTable {
    public:
        SliceTable(const CalcReport& report, const QRectF& body, QPaintDevice& device)
            : report_(report)
            , body_(body)
        {
            // Each column as wide as its widest number (its whole part and
            // its point and decimals apart) or the longer half of its head,
            // in letters small enough to leave some room on either side.
            const double least = 2 * QFontMetricsF(Font(kTablePt), &device).horizontalAdvance(QStringLiteral("0"));
            const double columns = std::max<double>(1.0, double(report_.sliceHeader.size()));
            double needed = Measure(Font(points_), device);
            if (needed + columns * least > body_.width()) {
                points_ = std::max(5.0, kTablePt * (body_.width() - columns * least) / needed);
                needed = Measure(Font(points_), device);
            }
            // What is left shared out equally, as room on either side.
            const double room = (body_.width() - needed) / columns;
            double x = 0;
            for (double& edge : edges_) {
                x += edge + room;
                edge = x;
            }
            const double scale = kDpi / 72.0; // pixels per point
            rowHeight_ = kTablePt * 1.55 * scale;
            titleHeight_ = kTablePt * 1.6 * scale;
            captionHeight_ = titleHeight_
                + QFontMetricsF(Font(kTablePt), &device)
                      .boundingRect(QRectF(0, 0, body_.width(), body_.height()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, report_.sliceNote)
                      .height()
                + kTablePt * 0.6 * scale;
            headHeight_ = kTablePt * 3.6 * scale;
            const double rows = (body_.height() - captionHeight_ - headHeight_) / rowHeight_;
            const std::size_t perPage = static_cast<std::size_t>(std::max(2.0, rows));
            const std::size_t lines = report_.slices.size() + (report_.zrMark.isEmpty() ? 0 : 1);
            constexpr std::size_t kFewest = 5; // on the last page
            std::size_t first = 0;
            do {
                firstLines_.push_back(first);
                std::size_t end = std::min(lines, first + perPage);
                if (end < lines && lines - end < kFewest)
                    end = std::max(first + 1, lines - std::min(kFewest, lines - first - 1));
                if (end < lines && end - 1 > first && IsZr(end - 1))
                    --end;
                first = end;
            } while (first < lines);
            firstLines_.push_back(lines);
        }

        int PageCount() const { return static_cast<int>(firstLines_.size() - 1); }

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
            painter.drawText(QRectF(0, 0, width, titleHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                index == 0 ? QStringLiteral("Slice table") : QStringLiteral("Slice table (continued)"));
            painter.setFont(Font(kTablePt));
            painter.drawText(QRectF(0, titleHeight_, width, captionHeight_ - titleHeight_),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, report_.sliceNote);

            double y = captionHeight_;
            const QRectF head(0, y, width, headHeight_);
            painter.fillRect(head, QColor(232, 232, 232));
            font.setPointSizeF(points_);
            painter.setFont(font);
            for (qsizetype c = 0; c < columns; ++c)
                painter.drawText(QRectF(left(c) + pad / 4, y, right(c) - left(c) - pad / 2, headHeight_),
                    Qt::AlignCenter | Qt::TextWordWrap, report_.sliceHeader[c]);
            y += headHeight_;

            const QPen rule(QColor(120, 120, 120), kDpi / 150.0);
            double columnsFrom = captionHeight_; // where the lines between the columns begin
            const auto columnLines = [&](double to) {
                painter.setPen(rule);
                for (qsizetype c = 1; c < columns; ++c)
                    painter.drawLine(QPointF(left(c), columnsFrom), QPointF(left(c), to));
            };
            const std::size_t page = static_cast<std::size_t>(index);
            for (std::size_t line = firstLines_[page]; line < firstLines_[page + 1]; ++line) {
                const QRectF band(0, y, width, rowHeight_);
                if (IsZr(line)) {
                    columnLines(y);
                    painter.fillRect(band, QColor(251, 232, 232));
                    QFont mark = Font(points_);
                    mark.setBold(true);
                    painter.setFont(mark);
                    painter.setPen(kWarning);
                    painter.drawLine(band.topLeft(), band.topRight());
                    painter.drawLine(band.bottomLeft(), band.bottomRight());
                    painter.drawText(band.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter, report_.zrMark);
                    columnsFrom = band.bottom();
                    y += rowHeight_;
                    continue;
                }
                const std::size_t r = Slice(line);
                if ((r / 5) % 2 == 1)
                    painter.fillRect(band, QColor(244, 244, 244));
                painter.setFont(Font(points_));
                painter.setPen(Qt::black);
                const QStringList& row = report_.slices[r];
                for (qsizetype c = 0; c < row.size() && c < columns; ++c) {
                    // The point of every number of a column in one place, the
                    // numbers as a whole in the middle of the column.
                    const auto [whole, fraction] = numberWidths_[static_cast<std::size_t>(c)];
                    const double point = (left(c) + right(c) - whole - fraction) / 2 + whole;
                    const auto [before, after] = Split(row[c]);
                    painter.drawText(
                        QRectF(left(c), y, point - left(c), rowHeight_), Qt::AlignRight | Qt::AlignVCenter, before);
                    painter.drawText(
                        QRectF(point, y, right(c) - point, rowHeight_), Qt::AlignLeft | Qt::AlignVCenter, after);
                }
                y += rowHeight_;
            }
            columnLines(y);
            painter.setPen(rule);
            painter.drawRect(QRectF(0, captionHeight_, width, y - captionHeight_));
            painter.drawLine(QPointF(0, captionHeight_ + headHeight_), QPointF(width, captionHeight_ + headHeight_));
            painter.restore();
        }

    private:
        // Sets the widest whole part and fraction of every column and its
        // width without room, and returns their sum.
        double Measure(const QFont& font, QPaintDevice& device)
        {
            QFont bold = font;
            bold.setBold(true);
            const QFontMetricsF numbers(font, &device);
            const QFontMetricsF heads(bold, &device);
            numberWidths_.clear();
            edges_.clear();
            double needed = 0;
            for (qsizetype c = 0; c < report_.sliceHeader.size(); ++c) {
                double whole = 0;
                double fraction = 0;
                for (const QStringList& row : report_.slices) {
                    const auto [before, after] = Split(row.value(c));
                    whole = std::max(whole, numbers.horizontalAdvance(before));
                    fraction = std::max(fraction, numbers.horizontalAdvance(after));
                }
                double width = whole + fraction;
                for (const QString& line : report_.sliceHeader[c].split(QLatin1Char('\n'))) {
                    for (const QString& word : line.split(QLatin1Char(' ')))
                        width = std::max(width, heads.horizontalAdvance(word));
                    width = std::max(width, heads.horizontalAdvance(line) / 2);
                }
                numberWidths_.push_back({ whole, fraction });
                edges_.push_back(width);
                needed += width;
            }
            return needed;
        }

        // A number's whole part, and its point with the rest.
        static std::pair<QString, QString> Split(const QString& text)
        {
            const qsizetype point = text.indexOf(QLatin1Char('.'));
            return point < 0 ? std::pair { text, QString() } : std::pair { text.left(point), text.mid(point) };
        }

        bool IsZr(std::size_t line) const { return !report_.zrMark.isEmpty() && line == report_.slicesAboveZr; }
        std::size_t Slice(std::size_t line) const
        {
            return !report_.zrMark.isEmpty() && line > report_.slicesAboveZr ? line - 1 : line;
        }

        const CalcReport& report_;
        QRectF body_;
        double points_ = kTablePt; // of the heads and the numbers
        double rowHeight_ = 1;
        double titleHeight_ = 0;
        double captionHeight_ = 0;
        double headHeight_ = 0;
        std::vector<double> edges_; // the right edge of every column
        std::vector<std::pair<double, double>> numberWidths_; // the widest whole part and fraction of every column
        std::vector<std::size_t> firstLines_; // of every page, and the number of lines after the last
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
    for (int i = 0; i < calc.given.layerCount && i < kMaxLayers; ++i) {
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
        for (int i = 0; i < calc.given.layerCount && i < kMaxLayers; ++i) {
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
        report.coefficients.push_back({ QString::number(row.layer), QString::number(row.frictionAngle), three(row.topZ),
            three(row.topRatio), three(row.topKq), three(row.topKc), three(row.bottomZ), three(row.bottomRatio),
            three(row.bottomKq), three(row.bottomKc) });
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

    report.sliceHeader = { QStringLiteral("Layer"), QStringLiteral("z\n[m]"), QStringLiteral("Weight above\n[kPa]"),
        QStringLiteral("Kq\n[-]"), QStringLiteral("Kc\n[-]"), QStringLiteral("dZ\n[m]"),
        QStringLiteral("Soil pressure\n[kPa]"), QStringLiteral("Soil force\n[kN]"),
        QStringLiteral("CSF \u00D7 shear\n[kN]"), QStringLiteral("CSF \u00D7 moment\n[kNm]") };
    const int layerCount = std::min<int>(state.NoLayers, kMaxLayers);
    report.zrMark = Text(calc.results.zr) + QStringLiteral(", the point of rotation");
    for (const SliceType& s : Slices(state)) {
        int layer = layerCount;
        while (layer > 1 && s.Z < state.Layer[static_cast<std::size_t>(layer)].ZFrom)
            --layer;
        // Above the point of rotation the soil acts against H, below it with H.
        const bool above = s.Z <= state.Zr;
        if (above)
            report.slicesAboveZr = report.slices.size() + 1;
        QStringList row { QString::number(layer) };
        for (const double value : { double(s.Z), double(s.WeightAbove), double(s.Kq), double(s.Kc), double(s.dZ),
                 double(s.SoilPressure), above && s.SoilForce != 0 ? -double(s.SoilForce) : double(s.SoilForce),
                 double(ShownShear(state, s)), double(ShownMoment(state, s)) })
            row.append(significant(value));
        report.slices.push_back(row);
    }
    report.sliceNote = QStringLiteral(
        "The soil force is that of one slice, soil pressure \u00D7 pile width \u00D7 dZ, unfactored, signed as it "
        "acts on the pile: positive in the direction of H, so negative above Zr, where the soil acts against H, "
        "and positive below. Shear and moment are the pile's, multiplied by CSF.");
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

    const Summary summary(report, pages);
    const int summaryPages = summary.PageCount();
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
        summary.DrawPage(painter, pages, i);
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
