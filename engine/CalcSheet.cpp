#include "CalcSheet.h"

#include "NumberText.h"
#include "SoilForces.h"

#include <algorithm>
#include <cmath>

namespace latcap {

std::vector<LayerCoefficients> CoefficientsOfLayers(const Calculation& calc)
{
    const AnalysisState& state = *calc.state;
    const SoilCurves curves = CurvesOfLayers(state);
    const float toe = calc.Depth();
    std::vector<LayerCoefficients> rows;
    for (int i = 1; i <= std::min<int>(state.NoLayers, kMaxLayers); ++i) {
        const LayerType& layer = state.Layer[static_cast<std::size_t>(i)];
        if (!(layer.ZFrom < toe))
            continue;
        const LayerCurves& curve = curves[static_cast<std::size_t>(i)];
        LayerCoefficients row;
        row.layer = i;
        row.frictionAngle = ReadNumber(calc.inputs.layers[static_cast<std::size_t>(i - 1)].phi);
        row.topZ = layer.ZFrom;
        row.bottomZ = std::min(layer.ZTo, toe);
        row.topRatio = static_cast<float>(double(row.topZ) / layer.D);
        row.bottomRatio = static_cast<float>(double(row.bottomZ) / layer.D);
        row.topKq = curve.kq.At(row.topRatio);
        row.topKc = curve.kc.At(row.topRatio);
        row.bottomKq = curve.kq.At(row.bottomRatio);
        row.bottomKc = curve.kc.At(row.bottomRatio);
        rows.push_back(row);
    }
    return rows;
}

Equilibrium EquilibriumCheck(const AnalysisState& state)
{
    Equilibrium check;
    for (const SliceType& s : Slices(state)) {
        // Above the point of rotation the soil pushes against H.
        const double force = s.Z <= state.Zr ? double(s.SoilForce) : -double(s.SoilForce);
        check.force += force;
        check.moment -= force * s.Z;
    }
    check.load = state.H;
    check.forceResidual = check.load - check.force;
    check.headMoment = state.M;
    check.momentResidual = check.headMoment - check.moment;
    const double zr = state.Zr;
    check.forceBalanced = std::max(std::fabs(check.load), zr > 0 ? std::fabs(check.headMoment) / zr : 0.0);
    check.momentBalanced = std::max(std::fabs(check.headMoment), std::fabs(check.load) * zr);
    return check;
}

bool Equilibrium::Resolved() const
{
    constexpr double kShare = 0.1;
    return std::fabs(forceResidual) <= kShare * forceBalanced && std::fabs(momentResidual) <= kShare * momentBalanced;
}

} // namespace latcap
