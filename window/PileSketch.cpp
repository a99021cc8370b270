#include "PileSketch.h"

#include <QPainter>
#include <QPainterPath>

namespace latcap {

using namespace sketch;

PileSketch::PileSketch(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PileSketch"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(kWidth, kHeight);
}

void PileSketch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const QPen line(ink, 1.0, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(line);

    // Line1: the ground surface across the pile head.
    painter.drawLine(QLineF(kPileLeft - 40, kGround, kPileRight + 40, kGround));

    // Line2, Line7, Line8: the lateral load H, pointing at the pile head.
    const QPointF loadTip(kPileAxis - 1, kLoadLevel);
    painter.drawLine(QLineF(QPointF(28, kLoadLevel), loadTip));
    painter.drawLine(QLineF(loadTip, loadTip + QPointF(-7, -4)));
    painter.drawLine(QLineF(loadTip, loadTip + QPointF(-7, 4)));

    // Line3 to Line6: the moment M, an arc over the pile head from left to
    // right; Line9 and Line10: its arrow head at the right end.
    const qreal arcRadius = 25;
    const QRectF arcBox(kPileAxis - arcRadius, kArcTop, 2 * arcRadius, 2 * arcRadius);
    painter.drawArc(arcBox, 180 * 16, -180 * 16);
    const QPointF arcEnd(kPileAxis + arcRadius, kArcTop + arcRadius + 2);
    painter.drawLine(QLineF(arcEnd, arcEnd + QPointF(-4, -7)));
    painter.drawLine(QLineF(arcEnd, arcEnd + QPointF(4, -7)));

    // Line18, Line19, Line20: the depth axis Z beside the pile.
    const QPointF axisEnd(kDepthAxisX, kDepthAxisEnd);
    painter.drawLine(QLineF(QPointF(kDepthAxisX, kGround), axisEnd));
    painter.drawLine(QLineF(axisEnd, axisEnd + QPointF(-4, -7)));
    painter.drawLine(QLineF(axisEnd, axisEnd + QPointF(4, -7)));

    // Line12, Line13: the pile depth L, from the ground to the toe.
    painter.drawLine(QLineF(kLDimensionX, kGround, kLDimensionX, kToe));
    painter.drawLine(QLineF(kLDimensionX - 6, kToe, kLDimensionX + 6, kToe));

    // Line11, Line14: the depth of the point of rotation Zr.
    painter.drawLine(QLineF(kZrDimensionX, kGround, kZrDimensionX, kRotation));
    painter.drawLine(QLineF(kZrDimensionX - 6, kRotation, kZrDimensionX + 6, kRotation));

    // Line15, Line16, Line17(1): the pile width D under the toe.
    painter.drawLine(QLineF(kPileLeft, kWidthLevel, kPileRight, kWidthLevel));
    painter.drawLine(QLineF(kPileLeft, kWidthLevel - 6, kPileLeft, kWidthLevel + 6));
    painter.drawLine(QLineF(kPileRight, kWidthLevel - 6, kPileRight, kWidthLevel + 6));

    // Shape1: the pile, drawn over the ground line.
    painter.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(kPileLeft, kGround, kPileRight - kPileLeft, kToe - kGround));

    // Shape2: the point of rotation on the pile's axis.
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(kPileAxis, kRotation), 4.0, 4.0);
}

} // namespace latcap
