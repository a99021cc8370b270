#pragma once

#include "Calculation.h"

#include <memory>
#include <string>

namespace latcap {

// A design checked against the method: the moment a pile of the design depth
// L carries with H (Calc M), the depth that H and the design moment M need
// (Calc L), the utilisation M / moment carried, and the verdict.
struct DesignCheck {
    std::shared_ptr<const Calculation> atDepth; // Calc M at L
    std::shared_ptr<const Calculation> forLoads; // Calc L for H and M
    double designMoment = 0; // [kNm], as entered
    double momentCarried = 0; // [kNm], as Calc M shows it
    double depthRequired = 0; // [m], as Calc L shows it
    bool hasUtilisation = false; // the pile carries a moment greater than 0
    double utilisation = 0;
    // OK: utilisation at most 1 and both results converged within the method.
    bool ok = false;
    // Both calculations gave numbers to judge (enough data, finite results).
    bool judged = false;
};

DesignCheck CheckDesign(const InputTexts& inputs, int layerCount);

// "OK" or "NOT OK".
const char* VerdictWord(const DesignCheck& check);

// The lines that report a check: moment carried, depth required,
// utilisation and verdict, e.g. "Utilisation = 0.197".
std::vector<std::string> CheckLines(const DesignCheck& check);

} // namespace latcap
