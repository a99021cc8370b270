#include "Commands.h"

#include "DisplayFormats.h"
#include "Messages.h"
#include "NumberText.h"
#include "PileForces.h"
#include "Solvers.h"

#include <algorithm>
#include <cmath>

namespace latcap {
namespace {

    // A slice whose soil force is not a number never wins the search for the
    // largest moment and shear, so the maxima alone can look finite while the
    // slice table that the details file writes is not.
    bool SliceTableFinite(const AnalysisState& state)
    {
        if (!std::isfinite(state.ForceAbove) || !std::isfinite(state.ForceBelow) || !std::isfinite(state.SoilMoment))
            return false;
        for (const SliceType& s : Slices(state)) {
            for (float value :
                { s.Kq, s.Kc, s.SoilPressure, s.WeightAbove, s.dZ, s.Z, s.SoilForce, s.Moment, s.Shear }) {
                if (!std::isfinite(value))
                    return false;
            }
        }
        return true;
    }

    bool ResultsFinite(const AnalysisState& state, float answer)
    {
        return std::isfinite(answer) && std::isfinite(state.Zr) && std::isfinite(ShownMaxMoment(state))
            && std::isfinite(ShownMaxShear(state)) && SliceTableFinite(state);
    }

    // Passes each kind of solver report on once per command, however often a
    // solver gives up during it.
    class OncePerKindSink final : public SolverSink {
    public:
        explicit OncePerKindSink(SolverSink& target)
            : target_(target)
        {
        }

        void IterationProblem(SolverProblem problem) override
        {
            bool& reported = problem == SolverProblem::Moment ? momentReported_ : depthReported_;
            if (reported)
                return;
            reported = true;
            target_.IterationProblem(problem);
        }

        bool Reported() const { return momentReported_ || depthReported_; }

    private:
        SolverSink& target_;
        bool momentReported_ = false;
        bool depthReported_ = false;
    };

    float DepthOfSlice(const AnalysisState& state, float SliceType::*field, float value)
    {
        for (const SliceType& s : Slices(state)) {
            if (s.*field == value)
                return s.Z;
        }
        return 0.0f;
    }

} // namespace

float MaxMomentDepth(const AnalysisState& state) { return DepthOfSlice(state, &SliceType::Moment, state.MaxMoment); }

float MaxShearDepth(const AnalysisState& state) { return DepthOfSlice(state, &SliceType::Shear, state.MaxShear); }

float ShownMaxMoment(const AnalysisState& state) { return std::fabs(Shown(state, state.MaxMoment)); }

float ShownMaxShear(const AnalysisState& state) { return std::fabs(Shown(state, state.MaxShear)); }

const char* IterationMessage(SolverProblem problem)
{
    return problem == SolverProblem::Moment ? text::kMomentIteration : text::kDepthIteration;
}

CalcOutcome RunCalcL(AnalysisState& state, SolverSink& sink)
{
    const SoilCurves curves = CurvesOfLayers(state);
    OncePerKindSink once(sink);
    FindDepth(state, curves, state.LCalc, once);
    CalcPileForces(state);
    CalcOutcome outcome;
    outcome.iterationProblem = once.Reported();
    outcome.arithmeticProblem = !ResultsFinite(state, state.LCalc);
    if (!outcome.arithmeticProblem)
        outcome.answer = FormatMask(state.LCalc, mask::kDepth);
    return outcome;
}

CalcOutcome RunCalcM(AnalysisState& state, SolverSink& sink)
{
    const SoilCurves curves = CurvesOfLayers(state);
    OncePerKindSink once(sink);
    FindZr(state, curves, state.L, state.Zr, once);
    state.M = static_cast<float>(state.SoilMoment - double(state.Zr) * state.H);
    const float shown = Shown(state, state.M);
    CalcPileForces(state);
    CalcOutcome outcome;
    outcome.iterationProblem = once.Reported();
    outcome.arithmeticProblem = !ResultsFinite(state, shown);
    if (!outcome.arithmeticProblem)
        outcome.answer = FormatMask(shown, mask::kMoment);
    return outcome;
}

ResultTexts ShowResults(const AnalysisState& state)
{
    ResultTexts texts;
    texts.zr = "Zr = " + FormatMask(state.Zr, mask::kZr) + " m";
    texts.moment = "Moment = " + FormatMask(ShownMaxMoment(state), mask::kLargest) + " kNm";
    texts.shear = "Shear = " + FormatMask(ShownMaxShear(state), mask::kLargest) + " kN";
    return texts;
}

} // namespace latcap
