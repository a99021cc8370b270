#include "Solvers.h"

#include <cmath>

namespace latcap {
namespace {

    constexpr float kTolerance = 0.1f;
    constexpr int kMaxIterations = 101;

    float Midpoint(float lo, float hi) { return static_cast<float>((double(lo) + hi) / 2.0); }

} // namespace

void FindZr(AnalysisState& state, const SoilCurves& curves, const float& depthRef, float& zr, SolverSink& sink)
{
    const float depth = depthRef;
    zr = depth;
    float lo = 0.0f;
    float hi = 0.0f;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        CalcSoilForces(state, curves, zr, depth);
        const float residual = static_cast<float>(double(state.H) - (double(state.ForceAbove) - state.ForceBelow));
        if (std::fabs(residual) <= kTolerance)
            return;
        const float evaluated = zr;
        if (residual < 0.0f) {
            hi = zr;
            zr = Midpoint(lo, hi);
        } else {
            lo = zr;
            zr = hi == 0.0f ? static_cast<float>(2.0 * zr) : Midpoint(lo, hi);
        }
        if (iteration == kMaxIterations) {
            // Keep the point of rotation that the slice table and the sums belong to.
            zr = evaluated;
        }
    }
    sink.IterationProblem(SolverProblem::Moment);
}

void FindDepth(AnalysisState& state, const SoilCurves& curves, float& lCalc, SolverSink& sink)
{
    float lo = 0.0f;
    float hi = 50.0f;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        lCalc = Midpoint(lo, hi);
        FindZr(state, curves, lCalc, state.Zr, sink);
        const float residual = static_cast<float>(double(state.Zr) * state.H + state.M - state.SoilMoment);
        if (std::fabs(residual) <= kTolerance)
            return;
        if (residual <= 0.0f)
            hi = lCalc;
        else
            lo = lCalc;
    }
    sink.IterationProblem(SolverProblem::Depth);
}

} // namespace latcap
