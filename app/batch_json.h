#pragma once

#include "batch_run.h"

#include <QJsonObject>
#include <QString>

namespace latcap::batch {

// A calculation as one JSON object: the command, the inputs as read by the
// number rule, the answer, Zr, the shown maxima and where they occur,
// convergence and messages, and with slices the slice table (shear and
// moment times CSF). Lengths in m, forces in kN, moments in kNm, pressures
// in kPa, unit weights in kN/m3, angles in degrees.
QJsonObject CalculationJson(const Calculation& calc, const QString& casePath, bool slices);

// The depth [m] of the slice where the pile carries its largest moment
// (shear) as CalcPileForces found it; 0 when no slice holds it.
float MaxMomentDepth(const AnalysisState& state);
float MaxShearDepth(const AnalysisState& state);

} // namespace latcap::batch
