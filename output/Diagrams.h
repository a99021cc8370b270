#pragma once

#include "Calculation.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;
class QPainter;
class QRectF;

namespace latcap {

// One calculation with results, as the diagrams show it; the diagrams share
// it with whoever made it.
struct DiagramSource {
    std::shared_ptr<const Calculation> calculation;
    QString title;
};

// The diagrams are laid out on a canvas of this size in points; a PNG has
// kDiagramPngScale pixels per point.
inline constexpr QSize kDiagramSize { 1200, 740 };
inline constexpr int kDiagramPngScale = 2;
// The smallest text on the canvas, in its pixels.
inline constexpr int kDiagramSmallestText = 12;

// Draws the ultimate soil pressure, the shear force and the bending moment
// down the pile side by side on one depth axis, with the layer boundaries,
// the point of rotation, the pile toe and the inputs, scaled to fit area
// (centred across it, from its top). Needs a QGuiApplication for the fonts.
void DrawDiagrams(QPainter& painter, const QRectF& area, const DiagramSource& source);

// The diagrams as an SVG of kDiagramSize, or a PNG of kDiagramSize times
// kDiagramPngScale, written into device. Return false when the device
// refused them.
bool WriteDiagramSvg(QIODevice& device, const DiagramSource& source);
bool WriteDiagramPng(QIODevice& device, const DiagramSource& source);

} // namespace latcap
