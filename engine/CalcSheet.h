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
struct Equilibrium {
    double force = 0;
    double load = 0;
    double forceResidual = 0;
    double moment = 0;
    double headMoment = 0;
    double momentResidual = 0;
};
Equilibrium EquilibriumCheck(const AnalysisState& state);

} // namespace latcap
