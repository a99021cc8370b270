#include "DiagramsWindow.h"

#include "Diagrams.h"

#include <QFontInfo>
#include <QPainter>

#include <cmath>

namespace latcap {
DiagramsWindow::DiagramsWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("DiagramsWindow"));
    // Large enough that the diagrams' smallest text is as large as the
    // owner's.
    const double scale
        = double(QFontInfo(owner != nullptr ? owner->font() : font()).pixelSize()) / kDiagramSmallestText;
    resize(static_cast<int>(std::ceil(kDiagramSize.width() * scale)) + 2 * kMargin,
        static_cast<int>(std::ceil(kDiagramSize.height() * scale)) + 2 * kMargin);
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
    const QRectF area = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (drawing_)
        drawing_(painter, area);
    else
        painter.drawText(area, Qt::AlignCenter,
            QStringLiteral("No calculation since the last change: Calc L or Calc M draws the diagrams."));
}

} // namespace latcap
