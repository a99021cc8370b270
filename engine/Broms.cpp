#include "Broms.h"

#include "CalcSheet.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace latcap {
namespace {

    double PassiveCoefficient(double degrees)
    {
        const double t = std::tan((45.0 + degrees / 2.0) * std::numbers::pi / 180.0);
        return t * t;
    }

    // The depth below which the soil resists in cohesive soil: 1.5 D, then
    // the length f over which 9 cu D takes up H.
    double SkinDepth(const BromsSoil& soil) { return 1.5 * soil.width; }
    double LoadLength(const BromsSoil& soil, double h) { return h / (9.0 * soil.cohesion * soil.width); }

    // 0.5 gamma D Kp: the moment of the soil about the toe per L^3.
    double SandFactor(const BromsSoil& soil)
    {
        return 0.5 * soil.unitWeight * soil.width * PassiveCoefficient(soil.frictionAngle);
    }

} // namespace

double BromsMaxMoment(const BromsSoil& soil, double h, double m)
{
    if (soil.cohesive)
        return m + h * (SkinDepth(soil) + 0.5 * LoadLength(soil, h));
    const double f
        = 0.82 * std::sqrt(std::max(0.0, h) / (soil.width * PassiveCoefficient(soil.frictionAngle) * soil.unitWeight));
    return m + h * 0.67 * f;
}

double BromsDepth(const BromsSoil& soil, double h, double m)
{
    if (soil.cohesive) {
        const double g = std::sqrt(std::max(0.0, BromsMaxMoment(soil, h, m)) / (2.25 * soil.cohesion * soil.width));
        return SkinDepth(soil) + LoadLength(soil, h) + g;
    }
    // H L + M = k L^3 has one positive root when H and M are not negative;
    // k L^3 - H L grows with L beyond its low point, so bisect above it.
    const double k = SandFactor(soil);
    auto excess = [&](double l) { return k * l * l * l - h * l - m; };
    double lo = h > 0 ? std::sqrt(h / (3.0 * k)) : 0.0;
    double hi = std::max(1.0, lo * 2.0);
    while (excess(hi) < 0 && hi < 1e6)
        hi *= 2.0;
    for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
        const double mid = 0.5 * (lo + hi);
        (excess(mid) < 0 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

double BromsMoment(const BromsSoil& soil, double h, double depth)
{
    if (soil.cohesive) {
        const double g = depth - SkinDepth(soil) - LoadLength(soil, h);
        // A pile too short to take H below 1.5 D + f carries a negative
        // moment, as Brinch Hansen's would.
        return 2.25 * soil.cohesion * soil.width * g * g * (g < 0 ? -1.0 : 1.0)
            - h * (SkinDepth(soil) + 0.5 * LoadLength(soil, h));
    }
    return SandFactor(soil) * depth * depth * depth - h * depth;
}

BromsResult BromsCrossCheck(const Calculation& calc)
{
    BromsResult result;
    if (!calc.HasResults()) {
        result.reason = "the calculation has no results";
        return result;
    }
    const AnalysisState& state = *calc.state;
    const LayerType& top = state.Layer[1];
    BromsSoil soil { false, top.Gama, top.C, ReadNumber(calc.inputs.layers[0].phi), top.D };
    if (soil.cohesion > 0 && soil.frictionAngle > 0) {
        result.reason = "cohesion and friction together";
        return result;
    }
    soil.cohesive = soil.frictionAngle == 0;
    if ((soil.cohesive && !(soil.cohesion > 0)) || (!soil.cohesive && !(soil.unitWeight > 0))) {
        result.reason = "no strength: neither a cohesion alone nor a unit weight with friction";
        return result;
    }
    const bool calcL = calc.command == Command::CalcL;
    const double h = state.H;
    const double csf = state.CSF;
    if (calcL) {
        result.depth = static_cast<float>(BromsDepth(soil, h, state.M));
        result.maxMoment = csf * BromsMaxMoment(soil, h, state.M);
    } else {
        result.depth = state.L;
        const double m = BromsMoment(soil, h, state.L);
        result.moment = csf * m;
        result.maxMoment = csf * BromsMaxMoment(soil, h, m);
    }
    // Every layer the pile reaches by either method must be that same soil.
    const float reach = std::max(calc.Depth(), result.depth);
    for (int i = 2; i <= std::min<int>(state.NoLayers, kMaxLayers); ++i) {
        const LayerType& layer = state.Layer[static_cast<std::size_t>(i)];
        const bool same = layer.Gama == top.Gama && layer.C == top.C && layer.Phi == top.Phi && layer.D == top.D;
        if (layer.ZFrom < reach && !same) {
            result = {};
            result.reason = "layered soil: the layers the pile reaches differ";
            return result;
        }
    }
    result.applicable = true;
    result.cohesive = soil.cohesive;
    return result;
}

} // namespace latcap
