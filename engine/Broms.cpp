#include "Broms.h"

#include "CalcSheet.h"
#include "DisplayFormats.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace latcap {
namespace {

    // The depth below which the soil resists in cohesive soil: 1.5 D, then
    // the length f over which 9 cu D takes up H.
    double SkinDepth(const BromsSoil& soil) { return 1.5 * soil.width; }
    double LoadLength(const BromsSoil& soil, double h) { return h / (9.0 * soil.cohesion * soil.width); }

    // 0.5 gamma D Kp: the moment of the soil about the toe per L^3.
    double SandFactor(const BromsSoil& soil)
    {
        return 0.5 * soil.unitWeight * soil.width * PassiveCoefficient(soil.frictionAngle);
    }

    // The depth of the largest moment in cohesionless soil, where 3 Kp gamma z D
    // has taken up H: f = sqrt(2 / 3) sqrt(H / (gamma D Kp)), which Broms
    // rounds to 0.82; the moment there is H (e + 2 f / 3), rounded to 0.67.
    double SandLength(const BromsSoil& soil, double h)
    {
        return 0.82
            * std::sqrt(std::max(0.0, h) / (soil.width * PassiveCoefficient(soil.frictionAngle) * soil.unitWeight));
    }

    // A number that single precision holds, as the results are kept.
    bool Storable(double value)
    {
        return std::isfinite(value) && std::fabs(value) <= double(std::numeric_limits<float>::max());
    }

    std::string Figure(double value) { return SignificantText(value, 4); }
    std::string Percent(double share) { return FormatMask(100.0 * share, "0") + " %"; }

} // namespace

double PassiveCoefficient(double degrees)
{
    const double t = std::tan((45.0 + degrees / 2.0) * std::numbers::pi / 180.0);
    return t * t;
}

double BromsMaxMoment(const BromsSoil& soil, double h, double m)
{
    if (soil.cohesive)
        return m + h * (SkinDepth(soil) + 0.5 * LoadLength(soil, h));
    return m + h * 0.67 * SandLength(soil, h);
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
    BromsWorking& w = result.working;
    w.h = state.H;
    const double csf = state.CSF;
    if (calcL) {
        w.m = state.M;
        w.depth = BromsDepth(soil, w.h, w.m);
        w.maxMoment = BromsMaxMoment(soil, w.h, w.m);
    } else {
        w.depth = state.L;
        w.m = BromsMoment(soil, w.h, w.depth);
        w.maxMoment = BromsMaxMoment(soil, w.h, w.m);
        result.moment = csf * w.m;
    }
    result.depth = Storable(w.depth) ? static_cast<float>(w.depth) : 0.0f;
    result.maxMoment = csf * w.maxMoment;
    w.e = w.m / w.h;
    if (soil.cohesive) {
        w.skin = SkinDepth(soil);
        w.f = LoadLength(soil, w.h);
        w.g = w.depth - w.skin - w.f;
    } else {
        w.kp = PassiveCoefficient(soil.frictionAngle);
        w.sandFactor = SandFactor(soil);
        w.f = SandLength(soil, w.h);
    }
    // Every layer the pile reaches by either method must be that same soil.
    const float reach = std::max(calc.Depth(), result.depth);
    for (int i = 2; i <= std::min<int>(state.NoLayers, kMaxLayers); ++i) {
        const LayerType& layer = state.Layer[static_cast<std::size_t>(i)];
        const bool same = layer.Gama == top.Gama && layer.C == top.C && layer.Phi == top.Phi && layer.D == top.D;
        if ((layer.ZFrom < reach || !Storable(w.depth)) && !same) {
            result = {};
            result.reason = "layered soil: the layers the pile reaches differ";
            return result;
        }
    }
    // Only a positive answer that single precision holds is Broms' answer.
    const double answer = calcL ? w.depth : result.moment;
    if (!Storable(answer) || !Storable(result.maxMoment) || !Storable(w.m))
        result.reason = "its formulas give no finite number for these inputs";
    else if (calcL && !(answer > 0))
        result.reason = "the depth it finds is not below the ground surface";
    else if (!calcL && !(answer > 0))
        result.reason = "H alone is more than a pile " + ShortestText(state.L) + " m deep carries by Broms' method; "
            + "the moment found is " + FormatMask(answer, mask::kMoment) + " kNm";
    else if (!(result.maxMoment > 0))
        result.reason
            = "the largest moment it finds, " + FormatMask(result.maxMoment, mask::kLargest) + " kNm, is not positive";
    if (!result.reason.empty()) {
        const std::string reason = result.reason;
        result = {};
        result.reason = reason;
        return result;
    }
    result.applicable = true;
    result.cohesive = soil.cohesive;
    return result;
}

std::vector<std::string> BromsComparison(const Calculation& calc, const BromsResult& broms)
{
    if (!broms.applicable)
        return {};
    const AnalysisState& state = *calc.state;
    const bool calcL = calc.command == Command::CalcL;
    const double ours = calcL ? double(state.LCalc) : double(state.CSF) * state.M;
    const double theirs = calcL ? double(broms.depth) : broms.moment;
    const double ratio = ours / theirs;
    std::vector<std::string> lines { "Brinch Hansen / Broms = " + FormatMask(ratio, mask::kRatio) + "." };
    if (ratio >= 0.7 && ratio <= 1.3) {
        lines.back() += " The methods agree within 30 %.";
        return lines;
    }
    lines.back() += " The methods disagree: the ratio lies outside 0.7 to 1.3.";
    // Brinch Hansen's soil resists more when it needs less depth or carries
    // more moment.
    const bool oursStronger = calcL ? ratio < 0.7 : ratio > 1.3;
    const std::vector<LayerCoefficients> rows = CoefficientsOfLayers(calc);
    if (rows.empty())
        return lines;
    const LayerCoefficients& toe = rows.back();
    const std::string atToe = " at the toe (z/D = " + FormatMask(toe.bottomRatio, mask::kRatio) + ")";
    const BromsWorking& w = broms.working;
    const double broms3Kp = 3.0 * w.kp;
    const double toeCoefficient = broms.cohesive ? toe.bottomKc : toe.bottomKq;
    const double bromsCoefficient = broms.cohesive ? 9.0 : broms3Kp;
    const std::string bromsPressure = broms.cohesive
        ? std::string("9 cu D below 1.5 D")
        : "3 Kp \u03B3 z D with 3 Kp = " + FormatMask(broms3Kp, mask::kRatio);
    const std::string coefficient = broms.cohesive ? "Kc" : "Kq";
    if (oursStronger && broms.cohesive) {
        const std::string embedment = calcL ? "of the " + FormatMask(w.depth, mask::kDepth) + " m Broms needs"
                                            : "of the pile's embedment of " + FormatMask(w.depth, mask::kDepth) + " m";
        lines.push_back("Broms gives the soil no resistance over the top 1.5 D = " + FormatMask(w.skin, mask::kDepth)
            + " m, " + Percent(w.skin / w.depth) + " " + embedment + ", where Brinch Hansen takes Kc cu D from Kc = "
            + FormatMask(rows.front().topKc, mask::kRatio) + " at the ground.");
    } else if (oursStronger && toeCoefficient > bromsCoefficient) {
        lines.push_back("Brinch Hansen's Kq reaches " + FormatMask(toeCoefficient, mask::kRatio) + atToe
            + ", above Broms' pressure " + bromsPressure + ".");
    } else if (oursStronger) {
        lines.push_back("Brinch Hansen's Kq and Kc grow with z/D and take cohesion and friction together; Broms "
                        "takes one of them alone.");
    } else if (toeCoefficient < bromsCoefficient) {
        lines.push_back("Broms' pressure " + bromsPressure + " holds at every depth, while Brinch Hansen's "
            + coefficient + " is " + FormatMask(toeCoefficient, mask::kRatio) + atToe + " and less above it.");
    } else {
        lines.push_back("Broms lets the pile turn about its toe, while Brinch Hansen's turns about Zr = "
            + FormatMask(state.Zr, mask::kZr) + " m, " + Percent(double(state.Zr) / calc.Depth())
            + " of its depth, and the soil below Zr pushes back with H.");
    }
    return lines;
}

std::vector<BromsTerm> BromsWorkingTerms(const Calculation& calc, const BromsResult& broms)
{
    if (!broms.applicable)
        return {};
    const bool calcL = calc.command == Command::CalcL;
    const BromsWorking& w = broms.working;
    std::vector<BromsTerm> terms { { "H / CSF", Figure(w.h), "kN" } };
    const BromsTerm moment { calcL ? "M / CSF" : "M / CSF carried", Figure(w.m), "kNm" };
    const BromsTerm height { "e = M / H", Figure(w.e), "m" };
    if (broms.cohesive) {
        const BromsTerm skin { "1.5 D", Figure(w.skin), "m" };
        const BromsTerm f { "f = H / (9 cu D)", Figure(w.f), "m" };
        if (calcL) {
            terms.insert(terms.end(),
                { moment, height, skin, f, { "Mmax = H (e + 1.5 D + 0.5 f)", Figure(w.maxMoment), "kNm" },
                    { "g = \u221A(Mmax / (2.25 cu D))", Figure(w.g), "m" },
                    { "L = 1.5 D + f + g", Figure(w.depth), "m" } });
        } else {
            terms.insert(terms.end(),
                { skin, f, { "g = L \u2212 1.5 D \u2212 f", Figure(w.g), "m" },
                    { "Mmax = 2.25 cu D g\u00B2", Figure(w.maxMoment), "kNm" },
                    { "M = Mmax \u2212 H (1.5 D + 0.5 f)", Figure(w.m), "kNm" }, height });
        }
        return terms;
    }
    const BromsTerm kp { "Kp = tan\u00B2(45\u00B0 + \u03C6/2)", Figure(w.kp), "" };
    const BromsTerm factor { "0.5 \u03B3 D Kp", Figure(w.sandFactor), "kN/m\u00B3" };
    const BromsTerm f { "f = 0.82 \u221A(H / (\u03B3 D Kp))", Figure(w.f), "m" };
    const BromsTerm mmax { "Mmax = H (e + 0.67 f)", Figure(w.maxMoment), "kNm" };
    if (calcL)
        terms.insert(terms.end(),
            { moment, height, kp, factor, { "L from H (e + L) = 0.5 \u03B3 D Kp L\u00B3", Figure(w.depth), "m" }, f,
                mmax });
    else
        terms.insert(terms.end(),
            { kp, factor, { "M = 0.5 \u03B3 D Kp L\u00B3 \u2212 H L", Figure(w.m), "kNm" }, height, f, mmax });
    return terms;
}

std::string BromsReference(bool cohesive)
{
    return std::string("B. B. Broms (1964), \u201CLateral resistance of piles in ")
        + (cohesive ? "cohesive soils\u201D, J. Soil Mech. Found. Div., ASCE, 90(SM2), 27\u201363"
                    : "cohesionless soils\u201D, J. Soil Mech. Found. Div., ASCE, 90(SM3), 123\u2013156")
        + ": the free-headed short pile.";
}

} // namespace latcap
