#pragma once

#include "AnalysisState.h"
#include "InputData.h"

#include <string>
#include <vector>

namespace latcap {

// Whether the pile is short and rigid enough for the rigid-pile capacity, by
// Broms' relative stiffness: the pile's bending stiffness EI [kNm2] against
// the soil's modulus of horizontal subgrade reaction.
//
// Cohesive soil, a modulus k [kN/m3] constant with depth: the free-headed
// pile is short when beta L <= 1.5, with beta = (k D / (4 EI))^(1/4) [1/m].
// B. B. Broms (1964), "Lateral resistance of piles in cohesive soils",
// J. Soil Mech. Found. Div., ASCE, 90(SM2), 27-63.
//
// Cohesionless soil, a modulus nh [kN/m3] growing with depth (k = nh z / D):
// the free-headed pile is short when eta L <= 2, with eta = (nh / EI)^(1/5)
// [1/m]. B. B. Broms (1964), "Lateral resistance of piles in cohesionless
// soils", J. Soil Mech. Found. Div., ASCE, 90(SM3), 123-156.
// (BromsReference gives either paper for the report.)
//
// Layered soil takes the stricter: the pile is judged by every criterion
// whose modulus is given and is rigid only when each holds, D being the
// widest width of the layers the pile reaches (the larger D, the larger
// beta L).
struct StiffnessCriterion {
    bool cohesive = false; // beta L with k, else eta L with nh
    float modulus = 0; // k or nh [kN/m3], as given
    double width = 0; // D [m], for beta
    double factor = 0; // beta or eta [1/m]
    double length = 0; // beta L or eta L
    double limit = 0; // 1.5 or 2
    bool Holds() const { return length <= limit; }
};

struct Rigidity {
    // EI and a modulus are given (EI without a modulus is not enough data).
    bool checked = false;
    float ei = 0; // [kNm2], as given
    double depth = 0; // L [m]: found (Calc L) or given (Calc M)
    std::vector<StiffnessCriterion> criteria; // k first, then nh: those given
    bool Rigid() const; // not checked, or every criterion holds
};

// The stiffness of a calculation's pile at depth [m], from the texts of the
// EI, nh and k boxes and the gathered layers; not checked without EI.
Rigidity JudgeRigidity(const InputTexts& inputs, const AnalysisState& state, float depth);

// "βL = 0.912 <= 1.5" or "ηL = 2.704 > 2" (UTF-8).
std::string CriterionText(const StiffnessCriterion& criterion);

// Why the pile is not rigid, naming every criterion that fails: "the pile is
// not rigid: ηL = 2.704 > 2; the rigid-pile capacity overstates it"; empty
// when it is rigid or not checked.
std::string NotRigidReason(const Rigidity& rigidity);

// What the report and the sweeps say of the stiffness: the criteria joined
// by "; ", or "stiffness not checked: no EI given".
std::string RigiditySummary(const Rigidity& rigidity);

} // namespace latcap
