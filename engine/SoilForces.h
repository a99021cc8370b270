#pragma once

#include "AnalysisState.h"

#include <cstdint>

namespace latcap {

// Cuts the depth range zTop..zBottom of layer n into 50 slices, appends them
// to the slice table after sliceCount (which grows by 50), and returns the sum
// of their soil forces [kN] and of their moments about zr [kNm].
void SliceSegment(AnalysisState& state, std::int16_t n, float zTop, float zBottom, float zr, float& sumForce,
                  float& sumMoment, std::int16_t& sliceCount);

// Rebuilds the slice table for a pile of the given embedded depth rotating
// about zr, and leaves ForceAbove, ForceBelow (kN), SoilMoment (kNm) and
// NoSlices in the state.
void CalcSoilForces(AnalysisState& state, const float& zr, const float& depth);

} // namespace latcap
