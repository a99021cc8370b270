#include "DiagramsWindow.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace latcap {
namespace {

    struct Curve {
        QString caption;
        std::vector<float> values;
    };

    // One diagram: the value across, the depth down from the ground line to
    // the toe, the zero line and the largest value at either side written at
    // the top.
    void DrawCurve(QPainter& painter, const QRectF& area, const Curve& curve, const std::vector<float>& depths,
        float toe, float rotation)
    {
        const QFontMetricsF metrics(painter.font());
        painter.drawText(
            QRectF(area.left(), area.top(), area.width(), metrics.height()), Qt::AlignCenter, curve.caption);
        const QRectF plot = area.adjusted(8, metrics.height() * 2, -8, -4);
        float reach = 0.0f;
        for (const float value : curve.values)
            reach = std::max(reach, std::abs(value));
        if (!(reach > 0.0f) || !std::isfinite(reach))
            reach = 1.0f;
        const auto x = [&](float value) { return plot.center().x() + double(value) / reach * plot.width() / 2; };
        const auto y = [&](float depth) { return plot.top() + double(depth) / double(toe) * plot.height(); };
        painter.setPen(QPen(Qt::gray, 0, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y(rotation)), QPointF(plot.right(), y(rotation)));
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(plot.center().x(), plot.top()), QPointF(plot.center().x(), plot.bottom()));
        QPolygonF line;
        for (std::size_t i = 0; i < curve.values.size(); ++i)
            line << QPointF(x(curve.values[i]), y(depths[i]));
        painter.setPen(QPen(QColor(0, 70, 160), 1.5));
        painter.drawPolyline(line);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left(), area.top() + metrics.height(), plot.width(), metrics.height()),
            Qt::AlignCenter, QStringLiteral("\u00B1 %1").arg(double(reach), 0, 'g', 4));
    }

} // namespace

DiagramDrawing CalculationDiagrams(const AnalysisState& state, const QString& title)
{
    const int slices = std::clamp<int>(state.NoSlices, 0, kMaxSlices);
    std::vector<float> depths;
    std::array<Curve, 3> curves { Curve { QStringLiteral("Soil pressure [kPa]"), {} },
        Curve { QStringLiteral("Shear [kN]"), {} }, Curve { QStringLiteral("Moment [kNm]"), {} } };
    for (int i = 1; i <= slices; ++i) {
        const SliceType& slice = state.Slice[static_cast<std::size_t>(i)];
        depths.push_back(slice.Z);
        curves[0].values.push_back(slice.SoilPressure);
        curves[1].values.push_back(slice.Shear);
        curves[2].values.push_back(slice.Moment);
    }
    const float toe = depths.empty() || !(depths.back() > 0.0f) ? 1.0f : depths.back();
    const float rotation = state.Zr;
    return [=](QPainter& painter, const QRectF& area) {
        const QFontMetricsF metrics(painter.font());
        painter.drawText(QRectF(area.left(), area.top(), area.width(), metrics.height() * 1.5), Qt::AlignCenter, title);
        painter.drawText(QRectF(area.left(), area.top() + metrics.height() * 1.5, area.width(), metrics.height()),
            Qt::AlignCenter,
            QStringLiteral(
                "Depth down from the ground to the deepest slice at %1 m; dashed: the point of rotation at %2 m")
                .arg(double(toe), 0, 'f', 3)
                .arg(double(rotation), 0, 'f', 3));
        const QRectF body = area.adjusted(0, metrics.height() * 3.5, 0, 0);
        const double width = body.width() / double(curves.size());
        for (std::size_t i = 0; i < curves.size(); ++i)
            DrawCurve(painter, QRectF(body.left() + width * double(i), body.top(), width, body.height()), curves[i],
                depths, toe, rotation);
    };
}

DiagramsWindow::DiagramsWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("DiagramsWindow"));
    resize(720, 520);
    setMinimumSize(360, 260);
}

void DiagramsWindow::setDrawing(DiagramDrawing drawing)
{
    drawing_ = std::move(drawing);
    update();
}

void DiagramsWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(12, 12, -12, -12);
    if (drawing_)
        drawing_(painter, area);
    else
        painter.drawText(area, Qt::AlignCenter,
            QStringLiteral("No calculation since the last change: Calc L or Calc M draws the diagrams."));
}

} // namespace latcap
