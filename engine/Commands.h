#pragma once

#include "AnalysisState.h"
#include "SolverSink.h"

#include <string>

namespace latcap {

// What a calculation command shows once the solvers have run.
struct CalcOutcome {
    std::string answer; // the new text of the depth box (Calc L) or moment box (Calc M)
    bool iterationProblem = false; // a solver gave up; the results are those it left
    bool arithmeticProblem = false; // a shown number is not finite; show no results
};

// The three result captions, e.g. "Zr = 1.979 m", "Moment = 61.42 kNm" and
// "Shear = 100.34 kN".
struct ResultTexts {
    std::string zr;
    std::string moment;
    std::string shear;
};

// Calc L on gathered inputs: finds the depth, the pile forces, and the text
// of the depth box (mask::kDepth). Each kind of solver report reaches the sink
// at most once.
CalcOutcome RunCalcL(AnalysisState& state, SolverSink& sink);

// Calc M on gathered inputs: finds the point of rotation for L, replaces M by
// the moment carried (divided by CSF), the pile forces, and the text of the
// moment box (mask::kMoment).
CalcOutcome RunCalcM(AnalysisState& state, SolverSink& sink);

// The largest moment [kNm] and shear [kN] in the pile as shown: times CSF,
// without sign.
float ShownMaxMoment(const AnalysisState& state);
float ShownMaxShear(const AnalysisState& state);

// The depth [m] of the slice where the pile carries its largest moment
// (shear) as the pile forces found it; 0 when no slice holds it.
float MaxMomentDepth(const AnalysisState& state);
float MaxShearDepth(const AnalysisState& state);

// The result captions from the state after a calculation.
ResultTexts ShowResults(const AnalysisState& state);

} // namespace latcap
