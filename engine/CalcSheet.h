#pragma once

#include "Calculation.h"

#include <string>
#include <vector>

namespace latcap {

// The coefficients of one layer the pile reaches, at its top and at its
// bottom or the pile toe, whichever is higher: depth [m], depth ratio z/D,
// Kq and Kc as the slices take them.
struct LayerCoefficients {
    int layer = 1;
    double frictionAngle = 0; // degrees, as entered
    float topZ = 0;
    float topRatio = 0;
    float topKq = 0;
    float topKc = 0;
    float bottomZ = 0;
    float bottomRatio = 0;
    float bottomKq = 0;
    float bottomKc = 0;
};

// The layers of a calculation with results that start above the pile toe.
std::vector<LayerCoefficients> CoefficientsOfLayers(const Calculation& calc);

// Whether the slices balance the scaled loads: the sum of the soil forces
// (against H above the point of rotation, with it below) [kN] against H/CSF,
// and the sum of their moments about the pile head [kNm] against M/CSF, each
// residual being the load less the soil's share.
//
// The solvers stop within 0.1 kN and 0.1 kNm, so a result is an equilibrium
// only when each residual is at most a tenth of the load it balances. The
// force balances H and the couple M / Zr that M sets up about the point of
// rotation (with H = 0 the soil in front balances the soil behind); the
// moment balances M and H Zr, H's moment about that point. Each takes the
// larger of its two, so that either load alone counts in full.
struct Equilibrium {
    double force = 0;
    double load = 0;
    double forceResidual = 0;
    double moment = 0;
    double headMoment = 0;
    double momentResidual = 0;
    double forceBalanced = 0; // max(|H|, |M| / Zr) [kN], loads divided by CSF
    double momentBalanced = 0; // max(|M|, |H| Zr) [kNm]
    bool Resolved() const;
};
Equilibrium EquilibriumCheck(const AnalysisState& state);

} // namespace latcap
