#pragma once

#include "AnalysisState.h"
#include "Coefficients.h"

#include <array>

namespace latcap {

// The parts of Kq and Kc of one layer that depend on its friction angle alone.
struct LayerCurves {
    DepthCurve kq;
    DepthCurve kc;
};

// The curves of every layer, numbered like Layer; entry 0 stays empty.
using SoilCurves = std::array<LayerCurves, kMaxLayers + 1>;

// The curves of layers 1 to NoLayers from their Phi, once for all the trials
// of a command; the layers must not change while they are in use.
SoilCurves CurvesOfLayers(const AnalysisState& state);

// Rebuilds the slice table for a pile of the given embedded depth rotating
// about zr, with each layer's Kq and Kc taken from its curves, and leaves
// ForceAbove, ForceBelow (kN), SoilMoment (kNm) and NoSlices in the state.
void CalcSoilForces(AnalysisState& state, const SoilCurves& curves, const float& zr, const float& depth);

} // namespace latcap
