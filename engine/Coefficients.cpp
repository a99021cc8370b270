#include "Coefficients.h"

#include <cmath>
#include <cstdint>

namespace latcap {
namespace {

    constexpr double kPiD = static_cast<double>(kPi);
    constexpr double kHalfPi = kPiD / 2.0;

    float Single(double value) { return static_cast<float>(value); }

} // namespace

float DepthCurve::At(float depthRatio) const
{
    if (zero)
        return 0.0f;
    const double r = depthRatio;
    return Single((double(deep) * alpha * r + surface) / (double(alpha) * r + 1.0));
}

DepthCurve KqCurve(float phiIn)
{
    DepthCurve curve;
    if (!(phiIn > 0.0f)) {
        curve.zero = true;
        return curve;
    }
    const double phi = phiIn;
    const double quarterPi = kPiD / 4.0;
    const double tanPhi = std::tan(phi);
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);

    const float kq0 = Single(std::exp((phi + kHalfPi) * tanPhi) * cosPhi * std::tan(quarterPi + phi / 2.0)
        - std::exp(-(kHalfPi - phi) * tanPhi) * cosPhi * std::tan(quarterPi - phi / 2.0));
    const float k0 = Single(1.0 - sinPhi);
    const float dc = Single(1.58 + 4.09 * std::pow(tanPhi, 4.0));
    const float nc = Single((std::pow(std::tan(quarterPi + phi / 2.0), 2.0) * std::exp(kPiD * tanPhi) - 1.0) / tanPhi);
    const float kqDeep = Single(double(nc) * dc * k0 * tanPhi);
    const float alphaQ = Single(double(kq0) * k0 * sinPhi / ((double(kqDeep) - kq0) * std::sin(quarterPi + phi / 2.0)));

    curve.surface = kq0;
    curve.deep = kqDeep;
    curve.alpha = alphaQ;
    return curve;
}

DepthCurve KcCurve(float phiIn)
{
    // A zero angle would divide by tan 0; the factor is taken just beside it.
    const double phi = phiIn == 0.0f ? 0.001 : double(phiIn);
    const double quarterPi = kPiD / 4.0;
    const double tanPhi = std::tan(phi);

    const float kc0 = Single(
        (std::exp((phi + kHalfPi) * tanPhi) * std::cos(phi) * std::tan(quarterPi + phi / 2.0) - 1.0) * (1.0 / tanPhi));
    const float dc = Single(1.58 + 4.09 * std::pow(tanPhi, 4.0));
    const float nc
        = Single((std::pow(std::tan(quarterPi + phi / 2.0), 2.0) * std::exp(kPiD * tanPhi) - 1.0) * (1.0 / tanPhi));
    const float kcDeep = Single(double(nc) * dc);
    const float alphaC = Single(2.0 * kc0 * std::sin(quarterPi + phi / 2.0) / (double(kcDeep) - kc0));

    DepthCurve curve;
    curve.surface = kc0;
    curve.deep = kcDeep;
    curve.alpha = alphaC;
    return curve;
}

float CalcKq(float phi, float depthRatio) { return KqCurve(phi).At(depthRatio); }

float CalcKc(float phi, float depthRatio) { return KcCurve(phi).At(depthRatio); }

namespace {

    template <typename Coefficient> void FillTable(CoefficientTable& table, Coefficient coefficient)
    {
        for (std::int16_t i = 1; i <= 10; ++i) {
            const std::int16_t degrees = static_cast<std::int16_t>((i - 1) * 5);
            const float phi = Single(double(degrees) * kPiD / 180.0);
            float ratio = 0.0f;
            for (std::int16_t j = 1; j <= 21; ++j) {
                const float step = ratio < 5.0f ? 0.5f : (ratio < 10.0f ? 1.0f : 2.0f);
                auto& cell = table[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
                cell[1] = ratio;
                cell[2] = float(degrees);
                cell[3] = coefficient(phi, ratio);
                ratio = Single(double(ratio) + step);
            }
        }
    }

} // namespace

void FillKqTable(CoefficientTables& tables) { FillTable(tables.KqTable, CalcKq); }

void FillKcTable(CoefficientTables& tables) { FillTable(tables.KcTable, CalcKc); }

} // namespace latcap
