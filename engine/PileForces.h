#pragma once

#include "AnalysisState.h"

namespace latcap {

// Computes the shear [kN] and bending moment [kNm] in the pile at the middle
// of every slice from the scaled head loads H and M and the soil forces above
// it, and keeps the ones of largest magnitude, with their signs, in MaxShear
// and MaxMoment.
void CalcPileForces(AnalysisState& state);

} // namespace latcap
