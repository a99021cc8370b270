#include "PileSketch.h"

#include <QPainter>

namespace latcap {

namespace {

    // Where the parts of the pile sketch lie, in the sketch's own pixels.
    constexpr int kWidth = 170;
    constexpr int kHeight = 272;
    constexpr int kPileLeft = 90;
    constexpr int kPileRight = 120;
    constexpr int kPileAxis = (kPileLeft + kPileRight) / 2;
    constexpr int kGround = 62;
    constexpr int kToe = 232;
    constexpr int kRotation = 170; // level of the point of rotation
    constexpr int kLoadLevel = 52; // the lateral load's arrow
    constexpr int kArcTop = 15; // highest point of the moment arc
    constexpr int kDepthAxisX = 145; // the Z axis
    constexpr int kDepthAxisEnd = 150;
    constexpr int kLDimensionX = 40; // pile depth L
    constexpr int kZrDimensionX = 68; // depth of the point of rotation
    constexpr int kWidthLevel = 250; // pile width D under the toe
} // namespace

PileSketch::PileSketch(QWidget* parent)
    : QWidget(parent)
{
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

    // The ground surface across the pile head.
    painter.drawLine(QLineF(kPileLeft - 40, kGround, kPileRight + 40, kGround));

    // The lateral load H: a shaft and two head strokes pointing at the pile head.
    const QPointF loadTip(kPileAxis - 1, kLoadLevel);
    painter.drawLine(QLineF(QPointF(28, kLoadLevel), loadTip));
    painter.drawLine(QLineF(loadTip, loadTip + QPointF(-7, -4)));
    painter.drawLine(QLineF(loadTip, loadTip + QPointF(-7, 4)));

    // The moment M: an arc over the pile head from left to right with its
    // arrow head at the right end.
    const qreal arcRadius = 25;
    const QRectF arcBox(kPileAxis - arcRadius, kArcTop, 2 * arcRadius, 2 * arcRadius);
    painter.drawArc(arcBox, 180 * 16, -180 * 16);
    const QPointF arcEnd(kPileAxis + arcRadius, kArcTop + arcRadius + 2);
    painter.drawLine(QLineF(arcEnd, arcEnd + QPointF(-4, -7)));
    painter.drawLine(QLineF(arcEnd, arcEnd + QPointF(4, -7)));

    // The depth axis Z right of the pile, pointing down from the ground.
    const QPointF axisEnd(kDepthAxisX, kDepthAxisEnd);
    painter.drawLine(QLineF(QPointF(kDepthAxisX, kGround), axisEnd));
    painter.drawLine(QLineF(axisEnd, axisEnd + QPointF(-4, -7)));
    painter.drawLine(QLineF(axisEnd, axisEnd + QPointF(4, -7)));

    // The pile depth L: from the ground to the toe, with a tick at the toe.
    painter.drawLine(QLineF(kLDimensionX, kGround, kLDimensionX, kToe));
    painter.drawLine(QLineF(kLDimensionX - 6, kToe, kLDimensionX + 6, kToe));

    // The depth Zr of the point of rotation, with a tick at that level.
    painter.drawLine(QLineF(kZrDimensionX, kGround, kZrDimensionX, kRotation));
    painter.drawLine(QLineF(kZrDimensionX - 6, kRotation, kZrDimensionX + 6, kRotation));

    // The pile width D under the toe, with ticks at the pile's edges.
    painter.drawLine(QLineF(kPileLeft, kWidthLevel, kPileRight, kWidthLevel));
    painter.drawLine(QLineF(kPileLeft, kWidthLevel - 6, kPileLeft, kWidthLevel + 6));
    painter.drawLine(QLineF(kPileRight, kWidthLevel - 6, kPileRight, kWidthLevel + 6));

    // The pile, drawn over the ground line.
    painter.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(kPileLeft, kGround, kPileRight - kPileLeft, kToe - kGround));

    // The point of rotation on the pile's axis.
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(kPileAxis, kRotation), 4.0, 4.0);
}

} // namespace latcap
