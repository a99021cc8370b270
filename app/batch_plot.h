#pragma once

#include "batch_run.h"

#include "SaveFile.h"

#include <QSize>
#include <QString>

namespace latcap::batch {

// Size of a diagram in points (SVG) and pixels per point of a PNG.
inline constexpr QSize kPlotSize { 1200, 740 };
inline constexpr int kPngScale = 2;

// Whether path ends in .svg or .png, the two kinds of diagram.
bool IsPlotFile(const QString& path);

// Draws the ultimate soil pressure, the shear force and the bending moment
// down the pile side by side on one depth axis, with the layer boundaries,
// the point of rotation and the pile toe, and writes the diagram to path as
// SVG or PNG by the extension of path. Needs a QGuiApplication.
DeviceWriter PlotWriter(const Calculation& calc, const QString& title, const QString& path);

} // namespace latcap::batch
