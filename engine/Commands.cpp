#include "Commands.h"

#include "Messages.h"
#include "NumberText.h"
#include "PileForces.h"

#include <cmath>

namespace latcap {
namespace {

float ShownMoment(const AnalysisState& state)
{
    return std::fabs(static_cast<float>(double(state.CSF) * state.MaxMoment));
}

float ShownShear(const AnalysisState& state)
{
    return std::fabs(static_cast<float>(double(state.MaxShear) * state.CSF));
}

bool ResultsFinite(const AnalysisState& state, float answer)
{
    return std::isfinite(answer) && std::isfinite(state.Zr) && std::isfinite(ShownMoment(state))
           && std::isfinite(ShownShear(state));
}

} // namespace

void OncePerKindSink::IterationProblem(SolverProblem problem)
{
    bool& reported = problem == SolverProblem::Moment ? momentReported_ : depthReported_;
    if (reported)
        return;
    reported = true;
    target_.IterationProblem(problem);
}

const char* IterationMessage(SolverProblem problem)
{
    return problem == SolverProblem::Moment ? text::kMomentIteration : text::kDepthIteration;
}

CalcOutcome RunCalcL(AnalysisState& state, SolverSink& sink)
{
    OncePerKindSink once(sink);
    FindDepth(state, state.LCalc, once);
    CalcPileForces(state);
    CalcOutcome outcome;
    outcome.iterationProblem = once.Reported();
    outcome.arithmeticProblem = !ResultsFinite(state, state.LCalc);
    if (!outcome.arithmeticProblem)
        outcome.answer = FormatMask(state.LCalc, "##0.000");
    return outcome;
}

CalcOutcome RunCalcM(AnalysisState& state, SolverSink& sink)
{
    OncePerKindSink once(sink);
    FindZr(state, state.L, state.Zr, once);
    state.M = static_cast<float>(state.SoilMoment - double(state.Zr) * state.H);
    const float shown = static_cast<float>(double(state.CSF) * state.M);
    CalcPileForces(state);
    CalcOutcome outcome;
    outcome.iterationProblem = once.Reported();
    outcome.arithmeticProblem = !ResultsFinite(state, shown);
    if (!outcome.arithmeticProblem)
        outcome.answer = FormatMask(shown, "####0.00");
    return outcome;
}

ResultTexts ShowResults(const AnalysisState& state)
{
    ResultTexts texts;
    texts.zr = "Zr = " + FormatMask(state.Zr, "###0.000") + " m";
    texts.moment = "Moment = " + FormatMask(ShownMoment(state), "#####0.0#") + " kNm";
    texts.shear = "Shear = " + FormatMask(ShownShear(state), "#####0.0#") + " kN";
    return texts;
}

} // namespace latcap
