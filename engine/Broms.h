#pragma once

#include "Calculation.h"

#include <string>
#include <vector>

namespace latcap {

// Broms' short free-head pile as a cross-check of a calculation, for the same
// case and the same loads divided by CSF, the moment M being that of H acting
// at the height e = M / H above the ground. In cohesive soil (friction angle
// 0, undrained strength the cohesion) the soil gives nothing over the top
// 1.5 D and 9 cu D per metre below; in cohesionless soil (cohesion 0) it gives
// 3 Kp gamma z D with Kp = tan^2(45 deg + phi / 2), the pile turning about its
// toe. It applies when every layer the pile reaches is the same soil of one
// of these kinds and its answer is a positive number that single precision
// holds.
//
// B. B. Broms (1964), "Lateral resistance of piles in cohesive soils",
// J. Soil Mech. Found. Div., ASCE, 90(SM2), 27-63, and "Lateral resistance of
// piles in cohesionless soils", J. Soil Mech. Found. Div., ASCE, 90(SM3),
// 123-156: the free-headed short pile of each.
struct BromsSoil {
    bool cohesive = false;
    double unitWeight = 0; // kN/m3
    double cohesion = 0; // kPa
    double frictionAngle = 0; // degrees
    double width = 0; // m
};

// The terms of Broms' equations for one case, the loads divided by CSF.
// Cohesive: f = H / (9 cu D), Mmax = H (e + 1.5 D + 0.5 f) = 2.25 cu D g^2,
// L = 1.5 D + f + g. Cohesionless: H (e + L) = 0.5 gamma D Kp L^3,
// f = 0.82 sqrt(H / (gamma D Kp)), Mmax = H (e + 0.67 f).
struct BromsWorking {
    double h = 0; // H [kN]
    double m = 0; // M [kNm], given (Calc L) or carried (Calc M)
    double e = 0; // M / H [m]
    double kp = 0; // tan^2(45 deg + phi / 2), cohesionless
    double sandFactor = 0; // 0.5 gamma D Kp [kN/m3], cohesionless
    double skin = 0; // 1.5 D [m], cohesive
    double f = 0; // depth of the largest moment below 1.5 D (cohesive) or the ground [m]
    double g = 0; // length below the largest moment [m], cohesive
    double depth = 0; // L [m]
    double maxMoment = 0; // Mmax [kNm]
};

struct BromsResult {
    bool applicable = false;
    std::string reason; // why not, e.g. "the layers the pile reaches differ"
    bool cohesive = false;
    float depth = 0; // the depth needed [m] (Calc L) or given (Calc M)
    double moment = 0; // the moment carried [kNm], times CSF (Calc M)
    double maxMoment = 0; // the largest moment in the pile [kNm], times CSF
    BromsWorking working;
};

BromsResult BromsCrossCheck(const Calculation& calc);

// Calc L by Broms in one soil: the depth [m] that H [kN] and M [kNm] need, and
// the largest moment [kNm]. Calc M: the moment a pile of depth L carries.
double BromsDepth(const BromsSoil& soil, double h, double m);
double BromsMoment(const BromsSoil& soil, double h, double depth);
double BromsMaxMoment(const BromsSoil& soil, double h, double m);
double PassiveCoefficient(double degrees);

// How Brinch Hansen's answer compares with Broms', in sentences: the ratio,
// whether it lies within 0.7 to 1.3, and when it does not, the difference of
// the methods that fits the case, with its figures.
std::vector<std::string> BromsComparison(const Calculation& calc, const BromsResult& broms);

// One line of Broms' working for the report: what, its value and unit.
struct BromsTerm {
    std::string name;
    std::string value;
    std::string unit;
};
std::vector<BromsTerm> BromsWorkingTerms(const Calculation& calc, const BromsResult& broms);

// The paper of the soil's kind, e.g. B. B. Broms (1964), "Lateral resistance
// of piles in cohesive soils", ...
std::string BromsReference(bool cohesive);

} // namespace latcap
