#pragma once

#include "Calculation.h"

#include <string>

namespace latcap {

// Broms' short free-head pile as a cross-check of a calculation, for the same
// case and the same loads divided by CSF, the moment M being that of H acting
// at the height M / H above the ground. In cohesive soil (friction angle 0,
// undrained strength the cohesion) the soil gives nothing over the top 1.5 D
// and 9 cu D per metre below; in cohesionless soil (cohesion 0) it gives
// 3 Kp gamma z D with Kp = tan^2(45 deg + phi / 2), the pile turning about its
// toe. It applies when every layer the pile reaches is the same soil of one
// of these kinds.
struct BromsResult {
    bool applicable = false;
    std::string reason; // why not, e.g. "the layers the pile reaches differ"
    bool cohesive = false;
    float depth = 0; // the depth needed [m] (Calc L) or given (Calc M)
    double moment = 0; // the moment carried [kNm], times CSF (Calc M)
    double maxMoment = 0; // the largest moment in the pile [kNm], times CSF
};

BromsResult BromsCrossCheck(const Calculation& calc);

// Calc L by Broms in one soil: the depth [m] that H [kN] and M [kNm] need, and
// the largest moment [kNm]. Calc M: the moment a pile of depth L carries.
struct BromsSoil {
    bool cohesive = false;
    double unitWeight = 0; // kN/m3
    double cohesion = 0; // kPa
    double frictionAngle = 0; // degrees
    double width = 0; // m
};
double BromsDepth(const BromsSoil& soil, double h, double m);
double BromsMoment(const BromsSoil& soil, double h, double depth);
double BromsMaxMoment(const BromsSoil& soil, double h, double m);

} // namespace latcap
