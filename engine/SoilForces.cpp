#include "SoilForces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace latcap {

SoilCurves CurvesOfLayers(const AnalysisState& state)
{
    SoilCurves curves {};
    const auto layers = std::min<std::int16_t>(state.NoLayers, kMaxLayers);
    for (std::int16_t i = 1; i <= layers; ++i) {
        const float phi = state.Layer[static_cast<std::size_t>(i)].Phi;
        curves[static_cast<std::size_t>(i)] = { KqCurve(phi), KcCurve(phi) };
    }
    return curves;
}

namespace {

    // Cuts the depth range zTop..zBottom of layer n into 50 slices, appends them
    // to the slice table after sliceCount (which grows by 50), and returns the sum
    // of their soil forces [kN] and of their moments about zr [kNm].
    void SliceSegment(AnalysisState& state, const SoilCurves& curves, std::int16_t n, float zTop, float zBottom,
        float zr, float& sumForce, float& sumMoment, std::int16_t& sliceCount)
    {
        const LayerType& lay = state.Layer.at(static_cast<std::size_t>(n));
        const LayerCurves& coefficients = curves.at(static_cast<std::size_t>(n));
        sumForce = 0.0f;
        sumMoment = 0.0f;
        const float dz = static_cast<float>((double(zBottom) - zTop) / 50.0);

        float weightAbove = 0.0f;
        for (std::int16_t k = 1; k <= n - 1; ++k) {
            const LayerType& upper = state.Layer[static_cast<std::size_t>(k)];
            weightAbove = static_cast<float>(weightAbove + (double(upper.ZTo) - upper.ZFrom) * upper.Gama);
        }

        for (std::int16_t j = 1; j <= 50; ++j) {
            sliceCount = static_cast<std::int16_t>(sliceCount + 1);
            const float z = static_cast<float>(zTop + double(j) * dz - double(dz) / 2.0);
            const float ratio = static_cast<float>(double(z) / lay.D);
            const float kc = coefficients.kc.At(ratio);
            const float kq = coefficients.kq.At(ratio);
            const float q = static_cast<float>(weightAbove + (double(z) - lay.ZFrom) * lay.Gama);
            const float p = static_cast<float>(double(kc) * lay.C + double(kq) * q);
            const float f = static_cast<float>(double(p) * lay.D * dz);
            sumForce = static_cast<float>(double(sumForce) + f);
            sumMoment = static_cast<float>(sumMoment + std::fabs(double(z) - zr) * f);

            SliceType& slice = state.Slice.at(static_cast<std::size_t>(sliceCount));
            slice.Kq = kq;
            slice.Kc = kc;
            slice.SoilPressure = p;
            slice.WeightAbove = q;
            slice.dZ = dz;
            slice.Z = z;
            slice.SoilForce = f;
        }
    }

} // namespace

void CalcSoilForces(AnalysisState& state, const SoilCurves& curves, const float& zr, const float& depth)
{
    state.ForceBelow = 0.0f;
    state.SoilMoment = 0.0f;
    state.ForceAbove = 0.0f;
    std::int16_t count = 0;
    if (state.NoLayers < 1) {
        state.NoSlices = 0;
        return;
    }
    // zr and depth may be fields of the state itself; they are read, never written.
    const float rotation = zr;
    const float toe = depth;
    float sumForce = 0.0f;
    float sumMoment = 0.0f;
    auto addAbove = [&] {
        state.ForceAbove = static_cast<float>(double(state.ForceAbove) + sumForce);
        state.SoilMoment = static_cast<float>(double(state.SoilMoment) + sumMoment);
    };
    auto addBelow = [&] {
        state.ForceBelow = static_cast<float>(double(state.ForceBelow) + sumForce);
        state.SoilMoment = static_cast<float>(double(state.SoilMoment) + sumMoment);
    };

    const auto layers = std::min<std::int16_t>(state.NoLayers, kMaxLayers);
    for (std::int16_t i = 1; i <= layers; ++i) {
        const float top = state.Layer[static_cast<std::size_t>(i)].ZFrom;
        const float bottom = state.Layer[static_cast<std::size_t>(i)].ZTo;
        const float rangeBottom = bottom <= toe ? bottom : toe;
        if (top <= rotation && bottom <= rotation) {
            SliceSegment(state, curves, i, top, bottom, rotation, sumForce, sumMoment, count);
            addAbove();
        }
        if (top >= rotation && bottom >= rotation && top < toe) {
            SliceSegment(state, curves, i, top, rangeBottom, rotation, sumForce, sumMoment, count);
            addBelow();
        }
        if (top < rotation && bottom > rotation) {
            SliceSegment(state, curves, i, top, rotation, rotation, sumForce, sumMoment, count);
            addAbove();
            SliceSegment(state, curves, i, rotation, rangeBottom, rotation, sumForce, sumMoment, count);
            addBelow();
        }
    }
    state.NoSlices = count;
}

} // namespace latcap
