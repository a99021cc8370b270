#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace latcap {

// The program's value of pi, held in single precision. Brinch Hansen's
// analysis uses it in every degree-to-radian conversion and coefficient
// formula; Broms' cross-check, a closed form of its own, uses the exact pi.
inline constexpr float kPi = 3.1415925f;

// Booleans kept in the analysis state are 16-bit, true = -1 and false = 0.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// One soil layer. Depths and width in m, cohesion in kPa, unit weight in
// kN/m3, friction angle in radians.
struct LayerType {
    float ZFrom = 0;
    float ZTo = 0;
    float C = 0;
    float Gama = 0;
    float Phi = 0;
    float D = 0;
};

// One slice of soil in front of the pile. Moment and Shear are divided by CSF
// like the loads they come from.
struct SliceType {
    float Kq = 0;
    float Kc = 0;
    float SoilPressure = 0;
    float WeightAbove = 0;
    float dZ = 0;
    float Z = 0;
    float SoilForce = 0;
    float Moment = 0;
    float Shear = 0;
};

inline constexpr int kMaxLayers = 5;
inline constexpr int kMaxSlices = 1000;

// Grid of coefficients for the table files: [column 0..10][row 0..21][0..3],
// where [i][j][1] is z/D, [i][j][2] the angle in degrees and [i][j][3] the
// coefficient. Index 0 of every dimension stays unused.
using CoefficientTable = std::array<std::array<std::array<float, 4>, 22>, 11>;

// The tables of the coefficient files, kept apart from the state of a
// calculation, which never reads them.
struct CoefficientTables {
    CoefficientTable KqTable {};
    CoefficientTable KcTable {};
};

// Everything a calculation reads and leaves behind. Zero at start; the loads
// H and M are stored divided by CSF.
struct AnalysisState {
    std::int16_t NoLayers = 0;
    std::array<LayerType, kMaxLayers + 1> Layer {};
    float CSF = 0;
    float M = 0;
    float H = 0;
    float L = 0;
    float SoilMoment = 0;
    float ForceAbove = 0;
    float ForceBelow = 0;
    float Zr = 0;
    float LCalc = 0;
    std::array<SliceType, kMaxSlices + 1> Slice {};
    std::int16_t NoSlices = 0;
    float MaxMoment = 0;
    float MaxShear = 0;
};

// The slices of the last calculation from the top, for reading: slot 0 of
// the table, never used, and the slots past NoSlices left out.
inline std::span<const SliceType> Slices(const AnalysisState& state)
{
    const auto count = static_cast<std::size_t>(std::clamp<int>(state.NoSlices, 0, kMaxSlices));
    return std::span<const SliceType>(state.Slice).subspan(1, count);
}

// A load, shear [kN] or moment [kNm] of the state (each divided by CSF) as
// it is shown and exported: times CSF, rounded once to single precision.
inline float Shown(const AnalysisState& state, float scaled) { return static_cast<float>(double(state.CSF) * scaled); }
inline float ShownShear(const AnalysisState& state, const SliceType& slice) { return Shown(state, slice.Shear); }
inline float ShownMoment(const AnalysisState& state, const SliceType& slice) { return Shown(state, slice.Moment); }

} // namespace latcap
