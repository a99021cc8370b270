#pragma once

#include "AnalysisState.h"

namespace latcap {

// Brinch Hansen's factor on the overburden stress for the friction angle phi
// (radians) at the depth ratio z/D. Zero for phi <= 0.
float CalcKq(float phi, float depthRatio);

// Brinch Hansen's factor on the cohesion for the friction angle phi (radians)
// at the depth ratio z/D. A zero angle is evaluated at 0.001 rad; the caller's
// angle is never changed.
float CalcKc(float phi, float depthRatio);

// The parts of Kq and Kc that depend on the friction angle alone: the values
// at the surface, at great depth and the shape factor between them. Computing
// them once per layer and applying them per slice gives the same bits as
// CalcKq and CalcKc.
struct DepthCurve {
    float surface = 0; // K at z/D = 0
    float deep = 0; // K as z/D grows without bound
    float alpha = 0; // how fast K moves from surface to deep
    bool zero = false; // K is 0 at every depth

    float At(float depthRatio) const;
};

DepthCurve KqCurve(float phi);
DepthCurve KcCurve(float phi);

// Fills KqTable (KcTable) for the angles 0 to 45 degrees in steps of 5 and
// the 21 depth ratios from 0 to 20.
void FillKqTable(CoefficientTables& tables);
void FillKcTable(CoefficientTables& tables);

} // namespace latcap
