#pragma once

#include "AnalysisState.h"
#include "SoilForces.h"
#include "SolverSink.h"

namespace latcap {

// Finds the depth of the point of rotation zr [m] of a pile of the given
// embedded depth under the scaled load H by bisection on horizontal
// equilibrium, the soil's coefficients taken from curves. Leaves zr, the
// slice table and the force sums of the last evaluated trial, also when it
// gives up after 101 evaluations.
void FindZr(AnalysisState& state, const SoilCurves& curves, const float& depth, float& zr, SolverSink& sink);

// Finds the embedded depth lCalc [m] between 0 and 50 m at which the scaled
// loads H and M are in moment equilibrium with the soil, trying at most 101
// depths. Leaves Zr and everything of the last trial in the state.
void FindDepth(AnalysisState& state, const SoilCurves& curves, float& lCalc, SolverSink& sink);

} // namespace latcap
