#include "DiagramsWindow.h"

#include <QPainter>

namespace latcap {
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
