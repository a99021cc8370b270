#pragma once

#include "Calculation.h"

#include <memory>
#include <string>
#include <vector>

namespace latcap {

// A pile of the design depth L checked under the design loads H and M.
//
// The governing measure is the load factor lambda: the factor by which H and
// M can be raised together, the load keeping its height e = M / H above the
// ground, until the pile is at its ultimate state (Calc M at L with lambda H
// carries lambda M). The loads are those after CSF and the partial factors,
// as in every calculation. OK when lambda >= 1 and Calc M at L with H is
// converged within the method, that is when the pile carries H and M.
struct DesignCheck {
    // The combination of partial factors that governs: the smallest lambda
    // (DA1: of DA1-1 and DA1-2); "none" without factors.
    FactorCombination factors;
    // Why the data are not enough, e.g. "The design check needs a design
    // moment M"; empty when they are.
    std::string reason;
    std::shared_ptr<const Calculation> atDepth; // Calc M at L with H: the moment carried
    std::shared_ptr<const Calculation> ultimate; // Calc M at L with lambda H: the ultimate state
    // Calc M at the depth required with H: the pile under the design loads,
    // whose largest moment the post and its footing are designed for; null
    // when no depth passes.
    std::shared_ptr<const Calculation> required;
    double designLoad = 0; // H as given [kN]
    double designMoment = 0; // M as given [kNm]
    double loadHeight = 0; // e = M / H [m]
    double loadFactor = 0; // lambda, the factor of safety
    double ultimateLoad = 0; // Hu = lambda H [kN], at the height e
    double utilisation = 0; // 1 / lambda
    double momentCarried = 0; // by the pile of depth L with H [kNm], unrounded
    // The smallest depth in whole millimetres at which the check passes [m]
    // (DA1: the greater of its combinations'); 0 when no pile up to 100 m
    // deep passes.
    double depthRequired = 0;
    // The calculations gave numbers to judge: enough data, finite results
    // and an ultimate state found.
    bool judged = false;
    bool ok = false;

    // Not enough data, else the worse status of atDepth and ultimate.
    CalcStatus Status() const;
};

// The check of the given inputs (the characteristic values) under a set of
// partial factors. It needs H > 0, a design moment M >= 0 (an empty box is
// no moment) and a depth L > 0. Every verdict comes from unrounded values;
// with the set none every calculation is that of Calculate.
DesignCheck CheckDesign(const InputTexts& given, const FactorSet& factors = {});

// "OK" or "NOT OK".
const char* VerdictWord(const DesignCheck& check);

// The value rounded to the given decimals towards the safe side: up for a
// utilisation or a depth, down for a capacity.
double RoundedUp(double value, int decimals);
double RoundedDown(double value, int decimals);

// The numbers of a check as shown, each on the safe side: the load factor
// and the ultimate load rounded down, the utilisation and the depth
// required up (the depth being whole millimetres already, "-" when no depth
// passes); the moment carried as Calc M shows it. Empty without numbers to judge.
struct CheckTexts {
    std::string verdict; // "OK" or "NOT OK"
    std::string loadFactor; // "1.633"
    std::string ultimateLoad; // [kN] "10.78"
    std::string loadHeight; // [m] "4.742"
    std::string utilisation; // "0.613"
    std::string depthRequired; // [m] "1.808"
    std::string momentCarried; // [kNm] "57.39"
};
CheckTexts ShownCheck(const DesignCheck& check);

// The lines that report a check, for the window's status and latcap-batch:
// "Verdict = OK", "Load factor = 1.633", "Ultimate load = 10.78 kN at 4.742
// m above the ground", "Utilisation = 0.613", "Depth required = 1.808 m",
// "Moment carried at L with H = 57.39 kNm"; empty without numbers to judge.
std::vector<std::string> CheckLines(const DesignCheck& check);

// What a check says on standard error: "Not Enough Data" and why, or the
// messages of its calculations, each named ("Calc M: ...").
std::vector<std::string> CheckMessages(const DesignCheck& check);

} // namespace latcap
