#pragma once

#include "InputData.h"

#include <string>
#include <string_view>
#include <vector>

namespace latcap {

struct Case;

// Partial factors of a limit state design: each divides a resistance or a
// soil parameter, or multiplies an action, and 1 leaves it as it is.
struct PartialFactors {
    double load = 1; // gamma_Q on H and M, variable unfavourable actions
    double resistance = 1; // gamma_R;e on the earth resistance
    double tanPhi = 1; // gamma_phi' on tan phi' (layers with a friction angle)
    double cohesion = 1; // gamma_c' on c' (layers with a friction angle)
    double undrained = 1; // gamma_cu on cu (layers with a friction angle of 0)
    double unitWeight = 1; // gamma_gamma on the unit weight

    // The factor on the loads before CSF: load x resistance, since dividing
    // the soil's resistance by a factor is multiplying the loads by it.
    double OnLoads() const { return load * resistance; }
    bool operator==(const PartialFactors&) const = default;
};

// One combination of partial factors: its name ("none", "EN 1997-1 DA1-2",
// "custom"), where its values come from, and the values.
struct FactorCombination {
    std::string name = "none";
    std::string source; // e.g. "EN 1997-1:2004 Annex A: A2 (Table A.3), M2 (Table A.4), R1 (Table A.13)"
    PartialFactors factors;

    bool None() const { return name == "none"; }
};

// The set of factors a case names: a set of EN 1997-1 with the recommended
// values of its Annex A, or custom with the case's own numbers.
struct FactorSet {
    std::string name = "none"; // one of FactorSetNames()
    PartialFactors custom; // the numbers of "custom"; 1 where not given

    bool None() const { return name == "none"; }
};

// The names of the sets, as case files and --set give them: none,
// EN 1997-1 DA1 (both combinations), EN 1997-1 DA1-1, EN 1997-1 DA1-2,
// EN 1997-1 DA2, EN 1997-1 DA3 and custom.
const std::vector<std::string>& FactorSetNames();

// The name of a set in its own spelling, whatever the case and blanks of
// text; empty when text names no set.
std::string FactorSetName(std::string_view text);

// The set a case names, with its custom numbers read by the number rule (an
// empty or missing one is 1); none without a `factors` line.
FactorSet CaseFactorSet(const Case& source);

// The combinations a set is checked in: one, or DA1-1 and DA1-2 for DA1.
//
// The EN 1997-1:2004 Annex A recommended values, H and M being variable
// unfavourable actions:
//   A1: gamma_Q = 1.5, A2: gamma_Q = 1.3 (Table A.3);
//   M1: all 1.0; M2: gamma_phi' = 1.25 on tan phi', gamma_c' = 1.25,
//       gamma_cu = 1.4, gamma_gamma = 1.0 (Table A.4);
//   R1: gamma_R;e = 1.0, R2: 1.4, R3: 1.0 on earth resistance (Table A.13,
//       retaining structures: the soil in front of a laterally loaded pile
//       is passive earth resistance).
// DA1-1 = A1 + M1 + R1, DA1-2 = A2 + M2 + R1, DA2 = A1 + M1 + R2, DA3 =
// A1 + M2 + R3 (the loads on a pile head are structural actions, so A1).
std::vector<FactorCombination> Combinations(const FactorSet& set);

// The set a result was found with, and the combination that governed when
// it is another: "EN 1997-1 DA1, governed by EN 1997-1 DA1-2"; empty for none.
std::string FactorsInUse(const FactorSet& set, const FactorCombination& governing);

// Why a combination cannot be used: a factor that is not a number greater
// than 0, e.g. "The load factor must be greater than 0"; empty when it can.
std::string FactorProblem(const FactorCombination& combination);

// The inputs of a calculation under a combination of factors, from the
// inputs as given (the characteristic values): CSF divided by the factor on
// the loads (so that H and M are multiplied by it where CSF divides them);
// in each layer in use the friction angle atan(tan phi /
// gamma_phi'), the cohesion c / gamma_c' (c / gamma_cu when the friction
// angle is 0, the cohesion then being the undrained strength) and the unit
// weight / gamma_gamma. A text whose factor is 1 stays as it is, so that
// without factors the inputs are the given ones to the byte.
InputTexts DesignInputs(const InputTexts& given, const PartialFactors& factors);

// The friction angle [deg] that tan phi / factor gives.
double DesignFrictionAngle(double degrees, double factor);

} // namespace latcap
