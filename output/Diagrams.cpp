#include "Diagrams.h"

#include "Broms.h"
#include "Commands.h"
#include "DisplayFormats.h"
#include "NumberText.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace latcap {
namespace {

    constexpr double kLeft = 90; // depth labels and axis title
    constexpr double kRight = 200; // labels of the marked depths
    constexpr double kTop = 128; // below the title and the panel titles
    constexpr double kBottom = 580; // above the value labels and the layer list
    constexpr double kGap = 60; // between panels
    constexpr double kLineHeight = 17; // of a label in the right margin

    const QColor kInk(30, 30, 30);
    const QColor kGrid(225, 225, 225);
    const QColor kLayerLine(120, 120, 120);
    const QColor kRotation(200, 30, 30);
    const QColor kToe(20, 60, 160);
    const QColor kBroms(120, 60, 150);

    // text with every character that XML cannot hold written as an escape,
    // as messages write them: "\0", "\x01", "\uFFFE".
    QString XmlSafe(const QString& text)
    {
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += c;
                out += text[++i];
                continue;
            }
            const char16_t u = c.unicode();
            const bool allowed = u == u'\t' || u == u'\n' || u == u'\r'
                || (u >= 0x20 && u != 0x7F && !(u >= 0x80 && u <= 0x9F) && !c.isSurrogate() && u != 0xFFFE
                    && u != 0xFFFF);
            if (allowed)
                out += c;
            else if (u == 0)
                out += QStringLiteral("\\0");
            else if (u <= 0xFF)
                out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
            else
                out += QStringLiteral("\\u") + QString::number(u, 16).toUpper().rightJustified(4, u'0');
        }
        return out;
    }

    // std::clamp that keeps to lo when the range is empty, as it is when a
    // label is larger than its panel.
    double Clamped(double value, double lo, double hi) { return std::max(lo, std::min(value, hi)); }

    QFont Font(int pixels, bool bold = false)
    {
        QFont font(QStringLiteral("sans-serif"));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(pixels);
        font.setBold(bold);
        return font;
    }

    QString Metres(double value)
    {
        return QString::fromStdString(FormatMask(value, mask::kDepth)) + QStringLiteral(" m");
    }

    // Whether any part of line lies in rect.
    bool Crosses(const QLineF& line, const QRectF& rect)
    {
        const QRectF bounds = QRectF(line.p1(), line.p2()).normalized();
        if (bounds.left() > rect.right() || bounds.right() < rect.left() || bounds.top() > rect.bottom()
            || bounds.bottom() < rect.top())
            return false;
        if (rect.contains(line.p1()) || rect.contains(line.p2()))
            return true;
        for (const QLineF& edge :
            { QLineF(rect.topLeft(), rect.topRight()), QLineF(rect.topRight(), rect.bottomRight()),
                QLineF(rect.bottomRight(), rect.bottomLeft()), QLineF(rect.bottomLeft(), rect.topLeft()) }) {
            if (line.intersects(edge, nullptr) == QLineF::BoundedIntersection)
                return true;
        }
        return false;
    }

    QString Plain(double value) { return QString::number(value, 'g', 6); }

    // A step of 1, 2 or 5 times a power of ten giving about `count` intervals.
    double NiceStep(double span, int count)
    {
        if (!(span > 0))
            return 1;
        const double raw = span / count;
        const double power = std::pow(10.0, std::floor(std::log10(raw)));
        for (const double factor : { 1.0, 2.0, 2.5, 5.0, 10.0 }) {
            if (factor * power >= raw)
                return factor * power;
        }
        return 10 * power;
    }

    // Enough decimals to write every multiple of step exactly: 0.25 needs two.
    int StepDecimals(double step)
    {
        int decimals = 0;
        while (decimals < 6
            && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
            ++decimals;
        return decimals;
    }

    QString TickText(double value, double step)
    {
        if (std::fabs(value) < step * 1e-6)
            value = 0;
        return QString::number(value, 'f', StepDecimals(step));
    }

    using Axis = DiagramModel::Axis;
    using Curve = DiagramModel::Curve;
    using Mark = DiagramModel::Mark;
    using MarkKind = DiagramModel::MarkKind;

    // The panels' width, and the colour of each curve.
    constexpr double kPanelWidth = (kDiagramSize.width() - kLeft - kRight - 2 * kGap) / 3;
    const QColor kCurveColours[] = { QColor(150, 95, 40), QColor(20, 110, 60), QColor(20, 60, 160) };

    // From lo by step while within slack of hi.
    std::vector<double> Ticks(double lo, double hi, double step, double slack)
    {
        std::vector<double> ticks;
        for (double v = lo; v <= hi + slack; v += step)
            ticks.push_back(v);
        return ticks;
    }

    // A value axis holding every value and 0, to the round value just past
    // them.
    Axis ValueAxis(const Curve& curve, int intervals)
    {
        double lo = 0;
        double hi = 0;
        for (const QPointF& p : curve.points) {
            lo = std::min(lo, p.x());
            hi = std::max(hi, p.x());
        }
        if (hi - lo <= 0)
            hi = lo + 1;
        // A curve never runs along the frame.
        const double margin = 0.02 * (hi - lo);
        lo = lo < 0 ? lo - margin : lo;
        hi = hi > 0 ? hi + margin : hi;
        Axis axis;
        axis.step = NiceStep(hi - lo, intervals);
        axis.lo = std::floor(lo / axis.step + 1e-9) * axis.step;
        axis.hi = std::ceil(hi / axis.step - 1e-9) * axis.step;
        axis.ticks = Ticks(axis.lo, axis.hi, axis.step, axis.step * 1e-6);
        return axis;
    }

    // The value axis with as many intervals as its labels have room for.
    Axis FittedAxis(const Curve& curve)
    {
        const QFontMetricsF metrics(Font(kDiagramSmallestText));
        Axis axis;
        for (int intervals = 8; intervals >= 2; --intervals) {
            axis = ValueAxis(curve, intervals);
            const double spacing = axis.step / (axis.hi - axis.lo) * kPanelWidth;
            if (std::all_of(axis.ticks.begin(), axis.ticks.end(),
                    [&](double v) { return metrics.horizontalAdvance(TickText(v, axis.step)) + 10 <= spacing; }))
                break;
        }
        return axis;
    }

    // The slices down to the toe: a result whose point of rotation lies below
    // the toe has slices below it, which are not drawn.
    void AddCurves(DiagramModel& model, const AnalysisState& state)
    {
        const double toe = model.toe;
        Curve pressure { QStringLiteral("Ultimate soil pressure p"), QStringLiteral("kPa"), {}, {}, {}, {} };
        Curve shear { QStringLiteral("Shear force V"), QStringLiteral("kN"), {}, {}, {}, {} };
        Curve moment { QStringLiteral("Bending moment M"), QStringLiteral("kNm"), {}, {}, {}, {} };
        shear.points.emplace_back(Shown(state, state.H), 0.0);
        moment.points.emplace_back(Shown(state, state.M), 0.0);
        double largestPressure = -1;
        pressure.extreme = QPointF(0, 0);
        for (const SliceType& s : Slices(state)) {
            if (!(double(s.Z) <= toe))
                continue;
            // Above the point of rotation the soil pushes against H, below it with H.
            const double p = s.Z <= state.Zr ? -double(s.SoilPressure) : double(s.SoilPressure);
            pressure.points.emplace_back(p, s.Z);
            if (std::fabs(p) > largestPressure) {
                largestPressure = std::fabs(p);
                pressure.extreme = QPointF(p, s.Z);
            }
            // With the point of rotation below the toe, a slice reaching
            // below the toe is drawn down to it.
            const double below = s.Z + s.dZ / 2.0;
            model.steps.push_back({ s.Z - s.dZ / 2.0, below > toe && state.Zr > toe ? toe : below });
            shear.points.emplace_back(ShownShear(state, s), s.Z);
            moment.points.emplace_back(ShownMoment(state, s), s.Z);
        }
        shear.extreme = QPointF(Shown(state, state.MaxShear), MaxShearDepth(state));
        moment.extreme = QPointF(Shown(state, state.MaxMoment), MaxMomentDepth(state));
        // An extreme below the toe gives way to the largest drawn.
        for (Curve* curve : { &shear, &moment }) {
            if (!(curve->extreme.y() > toe))
                continue;
            curve->extreme = curve->points.front();
            for (const QPointF& p : curve->points) {
                if (std::fabs(p.x()) > std::fabs(curve->extreme.x()))
                    curve->extreme = p;
            }
        }
        // The largest magnitude, with the sign of the value plotted.
        for (Curve* curve : { &pressure, &shear, &moment }) {
            curve->extremeText
                = QStringLiteral("max. %1 %2")
                      .arg(QString::fromStdString(FormatMask(curve->extreme.x(), mask::kLargest)), curve->unit);
            curve->axis = FittedAxis(*curve);
        }
        model.curves = { pressure, shear, moment };
    }

    // The depths marked by lines across the panels (or a tick), by depth.
    void AddMarks(DiagramModel& model, const Calculation& calc, const BromsResult& broms)
    {
        const AnalysisState& state = *calc.state;
        std::vector<Mark>& marks = model.marks;
        for (int i = 2; i <= calc.given.layerCount; ++i) {
            const float top = state.Layer[static_cast<std::size_t>(i)].ZFrom;
            if (top > 0 && top < model.depth.hi)
                marks.push_back({ MarkKind::LayerTop, top,
                    QStringLiteral("Top of layer %1: %2").arg(i).arg(Plain(top) + QStringLiteral(" m")) });
        }
        marks.push_back({ MarkKind::Rotation, state.Zr, QStringLiteral("Rotation Zr = %1").arg(Metres(state.Zr)) });
        marks.push_back({ MarkKind::Toe, model.toe, QStringLiteral("Pile toe L = %1").arg(Metres(model.toe)) });
        // Broms' answer beside Brinch Hansen's, for comparison.
        if (broms.applicable)
            marks.push_back({ MarkKind::Broms, broms.depth,
                calc.command == Command::CalcL
                    ? QStringLiteral("Broms L = %1").arg(Metres(broms.depth))
                    : QStringLiteral("Broms M = %1 kNm")
                          .arg(QString::fromStdString(FormatMask(broms.moment, mask::kMoment))) });
        std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.depth < b.depth; });
    }

    // How a marked depth is drawn: a line across the panels, or a tick.
    struct MarkLook {
        QColor colour;
        Qt::PenStyle style;
        double width;
        bool tick = false; // a short tick at the right edge instead of a line across
    };

    MarkLook Look(MarkKind kind)
    {
        switch (kind) {
        case MarkKind::LayerTop:
            return { kLayerLine, Qt::DashLine, 1.2 };
        case MarkKind::Rotation:
            return { kRotation, Qt::DashDotLine, 1.6 };
        case MarkKind::Toe:
            return { kToe, Qt::SolidLine, 2.2 };
        case MarkKind::Broms:
            break;
        }
        return { kBroms, Qt::SolidLine, 2.2, true };
    }

    class Diagram {
    public:
        explicit Diagram(const DiagramSource& source)
            : source_(source)
            , calc_(*source.calculation)
            , state_(*calc_.state)
            , calcL_(calc_.command == Command::CalcL)
            , model_(MakeDiagramModel(source))
        {
        }

        void Draw(QPainter& painter)
        {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.fillRect(QRectF(QPointF(0, 0), QSizeF(kDiagramSize)), Qt::white);
            DrawHeading(painter);
            const double width = kPanelWidth;
            std::vector<Panel> panels;
            for (std::size_t i = 0; i < model_.curves.size(); ++i)
                panels.push_back(PlacePanel(painter, model_.curves[i], kCurveColours[i], i == 0,
                    QRectF(kLeft + double(i) * (width + kGap), kTop, width, kBottom - kTop)));
            for (const Panel& panel : panels)
                DrawGrid(painter, panel);
            DrawMarks(painter, kLeft + 3 * width + 2 * kGap);
            for (const Panel& panel : panels)
                DrawCurve(painter, panel);
            for (const Panel& panel : panels)
                DrawNote(painter, panel);
            DrawDepthAxis(painter);
            DrawLayerList(painter);
        }

    private:
        double Y(double depth) const { return kTop + depth / model_.depth.hi * (kBottom - kTop); }

        void DrawHeading(QPainter& painter)
        {
            painter.setPen(kInk);
            // A long title wraps, in smaller letters the more lines it needs;
            // the lines below it move down by what it takes beyond one line.
            const double width = kDiagramSize.width() - kLeft - 20;
            const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
            const QString title = XmlSafe(source_.title);
            double titleHeight = 28;
            for (const auto& [pixels, lines] : { std::pair { 20, 1 }, { 16, 2 }, { 13, 3 }, { 11, 4 } }) {
                painter.setFont(Font(pixels, true));
                titleHeight = painter.boundingRect(QRectF(kLeft, 14, width, 200), flags, title).height();
                if (titleHeight <= painter.fontMetrics().lineSpacing() * lines + 1)
                    break;
            }
            painter.drawText(QRectF(kLeft, 14, width, titleHeight), flags, title);
            const double down = std::max(0.0, titleHeight - 28);
            const InputTexts& in = calc_.inputs;
            QString loads = QStringLiteral("H = %1 kN").arg(Plain(ReadNumber(in.h)));
            if (calcL_)
                loads += QStringLiteral(", M = %1 kNm").arg(Plain(ReadNumber(in.m)));
            else
                loads += QStringLiteral(", L = %1 m").arg(Plain(ReadNumber(in.l)));
            loads += QStringLiteral(", CSF = %1").arg(Plain(ReadNumber(in.csf)));
            const QString answer = QString::fromStdString(calc_.outcome.answer);
            const QString found = calcL_ ? QStringLiteral("required depth L = %1 m").arg(answer)
                                         : QStringLiteral("moment carried M = %1 kNm").arg(answer);
            painter.setFont(Font(14));
            painter.drawText(QRectF(kLeft, 44 + down, width, 22), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("%1 for %2: %3, Zr = %4 m")
                    .arg(QString::fromLatin1(CommandName(calc_.command)), loads, found,
                        QString::fromStdString(FormatMask(state_.Zr, mask::kZr))));
            const QString problem = !calc_.validity.empty()
                ? QStringLiteral("No valid result: ") + QString::fromStdString(calc_.validity) + QLatin1Char('.')
                : calc_.messages.empty() ? QString()
                                         : QString::fromStdString(calc_.messages.front())
                    + QStringLiteral(": the values are those the solver left.");
            if (!problem.isEmpty()) {
                painter.setPen(kRotation);
                painter.drawText(QRectF(kLeft, 66 + down, width, 20), Qt::AlignLeft | Qt::AlignVCenter, problem);
            }
        }

        struct Panel {
            const Curve* curve;
            QColor colour;
            bool steps; // drawn slice by slice, filled to zero
            QRectF box;
            Axis axis;
            QString note;
            QSizeF noteSize;

            double X(double v) const { return box.left() + (v - axis.lo) / (axis.hi - axis.lo) * box.width(); }
        };

        // The note of the largest value, shortened to fit the panel.
        Panel PlacePanel(QPainter& painter, const Curve& curve, const QColor& colour, bool steps, const QRectF& box)
        {
            Panel panel { &curve, colour, steps, box, curve.axis,
                curve.extremeText + QStringLiteral("\nat z = ") + Metres(curve.extreme.y()), {} };
            painter.setFont(Font(kDiagramSmallestText, true));
            // A note wider than its panel (a value of 1e30) is shortened to fit.
            QStringList lines = panel.note.split(u'\n');
            for (QString& line : lines)
                line = painter.fontMetrics().elidedText(line, Qt::ElideRight, int(box.width()) - 8);
            panel.note = lines.join(u'\n');
            panel.noteSize = painter.boundingRect(QRectF(0, 0, 400, 100), Qt::AlignLeft, panel.note).size();
            return panel;
        }

        void DrawGrid(QPainter& painter, const Panel& panel)
        {
            const QRectF& box = panel.box;
            const Axis& axis = panel.axis;
            auto x = [&](double v) { return panel.X(v); };
            painter.setFont(Font(kDiagramSmallestText));
            for (const double z : model_.depth.ticks) {
                painter.setPen(QPen(kGrid, 1));
                painter.drawLine(QPointF(box.left(), Y(z)), QPointF(box.right(), Y(z)));
            }
            const QFontMetricsF metrics(Font(kDiagramSmallestText));
            for (const double v : axis.ticks) {
                painter.setPen(QPen(kGrid, 1));
                painter.drawLine(QPointF(x(v), box.top()), QPointF(x(v), box.bottom()));
                // A long number at either end would run into the next panel's.
                const QString tick = TickText(v, axis.step);
                const double half = metrics.horizontalAdvance(tick) / 2;
                if (x(v) - half < box.left() - kGap / 2 + 4 || x(v) + half > box.right() + kGap / 2 - 4)
                    continue;
                painter.setPen(kInk);
                painter.drawText(QRectF(x(v) - 40, box.bottom() + 4, 80, 16), Qt::AlignHCenter | Qt::AlignTop, tick);
            }
        }

        // The curve of a panel as drawn; filled when it is drawn slice by slice.
        QPainterPath CurvePath(const Panel& panel) const
        {
            const Curve& curve = *panel.curve;
            auto x = [&](double v) { return panel.X(v); };
            QPainterPath path;
            if (panel.steps) {
                const std::vector<DiagramModel::Step>& steps = model_.steps;
                path.moveTo(x(0), Y(steps.empty() ? 0 : steps.front().top));
                for (std::size_t k = 0; k < steps.size(); ++k) {
                    const double v = curve.points[k].x();
                    path.lineTo(x(v), Y(steps[k].top));
                    path.lineTo(x(v), Y(steps[k].bottom));
                }
                if (!steps.empty())
                    path.lineTo(x(0), Y(steps.back().bottom));
                path.closeSubpath();
            } else {
                path.moveTo(x(curve.points.front().x()), Y(0));
                for (const QPointF& p : curve.points)
                    path.lineTo(x(p.x()), Y(p.y()));
            }
            return path;
        }

        void DrawCurve(QPainter& painter, const Panel& panel)
        {
            const Curve& curve = *panel.curve;
            const QRectF& box = panel.box;
            auto x = [&](double v) { return panel.X(v); };
            const QPainterPath path = CurvePath(panel);
            if (panel.steps) {
                QColor fill = panel.colour;
                fill.setAlpha(60);
                painter.fillPath(path, fill);
            }
            painter.setPen(QPen(panel.colour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);

            painter.setPen(QPen(kInk, 1.2));
            painter.drawLine(QPointF(x(0), box.top()), QPointF(x(0), box.bottom()));
            painter.drawRect(box);

            painter.setFont(Font(14, true));
            painter.drawText(QRectF(box.left() - kGap / 2, box.top() - 30, box.width() + kGap, 20),
                Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("%1 [%2]").arg(curve.title, curve.unit));
        }

        // The extreme value, noted on the open side of the curve.
        void DrawNote(QPainter& painter, const Panel& panel)
        {
            const Curve& curve = *panel.curve;
            const QRectF& box = panel.box;
            const QPointF at(panel.X(curve.extreme.x()), Y(curve.extreme.y()));
            painter.setPen(QPen(panel.colour, 1));
            painter.setBrush(panel.colour);
            painter.drawEllipse(at, 4, 4);
            painter.setBrush(Qt::NoBrush);
            painter.setFont(Font(kDiagramSmallestText, true));
            const QString& note = panel.note;
            const QSizeF size = panel.noteSize;
            // Of the places in the panel whose box crosses none of the lines
            // drawn there (the curve, the zero line, the marked depths), the
            // nearest the point, beside it rather than above or below and on
            // the open side of the curve rather than the other; where every
            // place crosses some, one that crosses fewest.
            std::vector<QLineF> lines;
            for (const QPolygonF& polygon : CurvePath(panel).toSubpathPolygons()) {
                for (qsizetype i = 1; i < polygon.size(); ++i)
                    lines.emplace_back(polygon[i - 1], polygon[i]);
            }
            lines.emplace_back(panel.X(0), box.top(), panel.X(0), box.bottom());
            for (const Mark& mark : model_.marks) {
                if (!Look(mark.kind).tick)
                    lines.emplace_back(box.left(), Y(mark.depth), box.right(), Y(mark.depth));
            }
            const bool preferRight = curve.extreme.x() >= 0;
            QRectF label(box.left() + 4, box.top() + 2, size.width(), size.height());
            double best = std::numeric_limits<double>::infinity();
            for (double y = box.top() + 2; y <= box.bottom() - size.height() - 2; y += 3) {
                for (double x = box.left() + 4; x <= box.right() - size.width() - 4; x += 3) {
                    const QRectF place(x, y, size.width(), size.height());
                    const QRectF covered = place.adjusted(-3, -1, 3, 1);
                    const double dx = std::max({ place.left() - at.x(), at.x() - place.right(), 0.0 });
                    const double dy = std::max({ place.top() - at.y(), at.y() - place.bottom(), 0.0 });
                    const double distance = std::hypot(dx, dy);
                    if (distance < 8)
                        continue;
                    const bool wrongSide = preferRight ? place.center().x() < at.x() : place.center().x() > at.x();
                    double cost = distance + 0.3 * std::fabs(place.center().y() - at.y()) + (wrongSide ? 12 : 0);
                    for (const QLineF& line : lines) {
                        if (cost >= best)
                            break;
                        if (Crosses(line, covered))
                            cost += 10000;
                    }
                    if (cost < best) {
                        best = cost;
                        label = place;
                    }
                }
            }
            // A note set away from its point is joined to it.
            const QPointF nearest(
                Clamped(at.x(), label.left(), label.right()), Clamped(at.y(), label.top(), label.bottom()));
            if (QLineF(at, nearest).length() > 16) {
                painter.setPen(QPen(panel.colour, 1));
                painter.drawLine(at, nearest);
            }
            const double x = label.left();
            painter.fillRect(label.adjusted(-3, -1, 3, 1), QColor(255, 255, 255, 230));
            painter.setPen(kInk);
            painter.drawText(label, x > at.x() ? Qt::AlignLeft : Qt::AlignRight, note);
        }

        void DrawDepthAxis(QPainter& painter)
        {
            painter.setPen(kInk);
            painter.setFont(Font(kDiagramSmallestText));
            for (const double z : model_.depth.ticks)
                painter.drawText(QRectF(kLeft - 56, Y(z) - 8, 50, 16), Qt::AlignRight | Qt::AlignVCenter,
                    TickText(z, model_.depth.step));
            painter.save();
            painter.translate(24, (kTop + kBottom) / 2);
            painter.rotate(-90);
            painter.setFont(Font(14, true));
            painter.drawText(QRectF(-150, -10, 300, 20), Qt::AlignCenter, QStringLiteral("Depth z [m]"));
            painter.restore();
        }

        void DrawMarks(QPainter& painter, double right)
        {
            const std::vector<Mark>& marks = model_.marks;
            std::vector<double> labelY;
            for (const Mark& mark : marks)
                labelY.push_back(std::max(Y(mark.depth), labelY.empty() ? kTop : labelY.back() + kLineHeight));
            for (std::size_t i = labelY.size(); i-- > 0;) {
                const double limit = i + 1 < labelY.size() ? labelY[i + 1] - kLineHeight : kBottom + 10;
                labelY[i] = std::min(labelY[i], limit);
            }

            painter.setFont(Font(kDiagramSmallestText, true));
            for (std::size_t i = 0; i < marks.size(); ++i) {
                const Mark& mark = marks[i];
                const MarkLook look = Look(mark.kind);
                const double y = Y(mark.depth);
                painter.setPen(QPen(look.colour, look.width, look.style));
                // A tick stands outside the frame, clear of the curve.
                painter.drawLine(QPointF(look.tick ? right + 2 : kLeft, y), QPointF(look.tick ? right + 10 : right, y));
                painter.setPen(QPen(look.colour, 1));
                painter.drawLine(QPointF(right, y), QPointF(right + 10, labelY[i]));
                painter.drawText(QRectF(right + 14, labelY[i] - kLineHeight / 2, kRight - 16, kLineHeight),
                    Qt::AlignLeft | Qt::AlignVCenter, mark.text);
            }
        }

        void DrawLayerList(QPainter& painter)
        {
            painter.setPen(kInk);
            painter.setFont(Font(kDiagramSmallestText));
            double y = kBottom + 34;
            for (int i = 1; i <= calc_.given.layerCount; ++i) {
                const LayerType& layer = state_.Layer[static_cast<std::size_t>(i)];
                const LayerTexts& row = calc_.inputs.layers[static_cast<std::size_t>(i - 1)];
                const QString line
                    = QStringLiteral("Layer %1, %2 to %3 m: unit weight %4 kN/m\u00B3, cohesion %5 kPa, "
                                     "friction angle %6\u00B0, pile width %7 m")
                          .arg(i)
                          .arg(Plain(layer.ZFrom), Plain(layer.ZTo), Plain(ReadNumber(row.gama)),
                              Plain(ReadNumber(row.c)), Plain(ReadNumber(row.phi)), Plain(ReadNumber(row.d)));
                painter.drawText(
                    QRectF(kLeft, y, kDiagramSize.width() - kLeft - 20, 16), Qt::AlignLeft | Qt::AlignVCenter, line);
                y += 18;
            }
            painter.setPen(QColor(90, 90, 90));
            painter.drawText(QRectF(kLeft, y + 8, kDiagramSize.width() - kLeft - 20, 16),
                Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("Soil pressure is drawn positive where it acts in the direction of H. "
                               "Shear and moment are the values in the pile times CSF."));
        }

        const DiagramSource& source_;
        const Calculation& calc_;
        const AnalysisState& state_;
        bool calcL_ = true;
        DiagramModel model_;
    };

} // namespace

DiagramModel MakeDiagramModel(const DiagramSource& source)
{
    const Calculation& calc = *source.calculation;
    const AnalysisState& state = *calc.state;
    DiagramModel model;
    model.toe = calc.Depth();
    const BromsResult broms = BromsCrossCheck(calc);
    const double deepest = std::max<double>({ model.toe, state.Zr, 0.1, broms.applicable ? broms.depth : 0.0 });
    model.depth.step = NiceStep(deepest * 1.05, 8);
    model.depth.lo = 0;
    model.depth.hi = std::ceil(deepest * 1.05 / model.depth.step) * model.depth.step;
    model.depth.ticks = Ticks(0, model.depth.hi, model.depth.step, 1e-9);
    AddCurves(model, state);
    AddMarks(model, calc, broms);
    return model;
}

void DrawDiagrams(QPainter& painter, const QRectF& area, const DiagramSource& source)
{
    const QRectF canvas(QPointF(0, 0), QSizeF(kDiagramSize));
    Diagram diagram(source);
    if (area == canvas) {
        diagram.Draw(painter);
        return;
    }
    const double scale = std::min(area.width() / canvas.width(), area.height() / canvas.height());
    painter.save();
    painter.translate(area.left() + (area.width() - scale * canvas.width()) / 2, area.top());
    painter.scale(scale, scale);
    diagram.Draw(painter);
    painter.restore();
}

bool WriteDiagramSvg(QIODevice& device, const DiagramSource& source)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(kDiagramSize);
    generator.setViewBox(QRect(QPoint(0, 0), kDiagramSize));
    generator.setResolution(96); // a page wide: 1200 points are 318 mm
    // Qt writes the title into the file as it stands.
    generator.setTitle(XmlSafe(source.title).toHtmlEscaped());
    generator.setDescription(QStringLiteral("Soil pressure, shear force and bending moment down the pile"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    DrawDiagrams(painter, QRectF(QPointF(0, 0), QSizeF(kDiagramSize)), source);
    return painter.end();
}

bool WriteDiagramPng(QIODevice& device, const DiagramSource& source)
{
    QImage image(kDiagramSize * kDiagramPngScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(kDiagramPngScale, kDiagramPngScale);
        DrawDiagrams(painter, QRectF(QPointF(0, 0), QSizeF(kDiagramSize)), source);
    }
    return image.save(&device, "PNG");
}

} // namespace latcap
