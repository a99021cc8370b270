#include "SoilForces.h"

#include "Coefficients.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>

namespace latcap {

#ifndef LATCAP_PER_SLICE_COEFFICIENTS
namespace {

// The angle-dependent terms of Kq and Kc are the same for every slice of a
// layer and for every trial of a solution; keep the last ones of each layer.
struct LayerCurves {
    std::uint32_t phiBits = 0;
    bool valid = false;
    DepthCurve kq;
    DepthCurve kc;
};

const LayerCurves& CurvesFor(std::int16_t n, float phi)
{
    thread_local std::array<LayerCurves, kMaxLayers + 1> cache;
    LayerCurves& entry = cache.at(static_cast<std::size_t>(n));
    const auto bits = std::bit_cast<std::uint32_t>(phi);
    if (!entry.valid || entry.phiBits != bits) {
        entry.kq = KqCurve(phi);
        entry.kc = KcCurve(phi);
        entry.phiBits = bits;
        entry.valid = true;
    }
    return entry;
}

} // namespace
#endif

void SliceSegment(AnalysisState& state, std::int16_t n, float zTop, float zBottom, float zr, float& sumForce,
                  float& sumMoment, std::int16_t& sliceCount)
{
    const LayerType& lay = state.Layer.at(static_cast<std::size_t>(n));
    sumForce = 0.0f;
    sumMoment = 0.0f;
    const float dz = static_cast<float>((double(zBottom) - zTop) / 50.0);

    float weightAbove = 0.0f;
    for (std::int16_t k = 1; k <= n - 1; ++k) {
        const LayerType& upper = state.Layer[static_cast<std::size_t>(k)];
        weightAbove = static_cast<float>(weightAbove + (double(upper.ZTo) - upper.ZFrom) * upper.Gama);
    }

#ifndef LATCAP_PER_SLICE_COEFFICIENTS
    const LayerCurves& curves = CurvesFor(n, lay.Phi);
#endif

    for (std::int16_t j = 1; j <= 50; ++j) {
        sliceCount = static_cast<std::int16_t>(sliceCount + 1);
        const float z = static_cast<float>(zTop + double(j) * dz - double(dz) / 2.0);
        const float ratio = static_cast<float>(double(z) / lay.D);
#ifdef LATCAP_PER_SLICE_COEFFICIENTS
        const float kc = CalcKc(lay.Phi, ratio);
        const float kq = CalcKq(lay.Phi, ratio);
#else
        const float kc = curves.kc.At(ratio);
        const float kq = curves.kq.At(ratio);
#endif
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

void CalcSoilForces(AnalysisState& state, const float& zr, const float& depth)
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
            SliceSegment(state, i, top, bottom, rotation, sumForce, sumMoment, count);
            addAbove();
        }
        if (top >= rotation && bottom >= rotation && top < toe) {
            SliceSegment(state, i, top, rangeBottom, rotation, sumForce, sumMoment, count);
            addBelow();
        }
        if (top < rotation && bottom > rotation) {
            SliceSegment(state, i, top, rotation, rotation, sumForce, sumMoment, count);
            addAbove();
            SliceSegment(state, i, rotation, rangeBottom, rotation, sumForce, sumMoment, count);
            addBelow();
        }
    }
    state.NoSlices = count;
}

} // namespace latcap
