#pragma once

#include "Calculation.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

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

// The numbers the diagrams are drawn from, depths in metres: each curve down
// the pile with its value axis, the depth axis and the depths marked across
// the panels.
struct DiagramModel {
    // From lo to hi, both whole multiples of step, which is 1, 2, 2.5 or 5
    // times a power of ten; a tick at lo, lo + step, ... up to hi.
    struct Axis {
        double lo = 0;
        double hi = 1;
        double step = 1;
        std::vector<double> ticks;
    };
    struct Curve {
        QString title; // e.g. "Shear force V"
        QString unit; // e.g. "kN"
        std::vector<QPointF> points; // (value, depth), from the ground down to the toe
        QPointF extreme; // (value, depth) of the largest magnitude drawn, its sign kept
        QString extremeText; // e.g. "max. 61.42 kNm"
        Axis axis; // holds every value and 0, to the round value just past them
    };
    // The depths a slice of soil pressure is drawn between, one a point.
    struct Step {
        double top = 0;
        double bottom = 0;
    };
    enum class MarkKind { LayerTop, Rotation, Toe, Broms };
    struct Mark {
        MarkKind kind;
        double depth;
        QString text; // e.g. "Rotation Zr = 1.979 m"
    };

    std::vector<Curve> curves; // the soil pressure, drawn in steps, the shear and the moment
    std::vector<Step> steps; // of the soil pressure
    double toe = 0;
    Axis depth; // from 0, past the toe, Zr and Broms' depth
    std::vector<Mark> marks; // by depth: the tops of the layers, Zr, the toe and Broms' answer (a tick)
};

// The model of the diagrams of a calculation with results. Needs a
// QGuiApplication: the value axes have as many ticks as their labels have
// room for.
DiagramModel MakeDiagramModel(const DiagramSource& source);

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
