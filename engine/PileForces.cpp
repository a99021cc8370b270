#include "PileForces.h"

#include <algorithm>
#include <cmath>

namespace latcap {

void CalcPileForces(AnalysisState& state)
{
    state.MaxMoment = 0.0f;
    state.MaxShear = 0.0f;
    if (state.NoSlices < 1)
        return;
    const double h = state.H;
    const double m = state.M;
    const double zr = state.Zr;
    auto& slices = state.Slice;
    const int count = std::min<int>(state.NoSlices, kMaxSlices);
    for (int i = 1; i <= count; ++i) {
        SliceType& slice = slices[static_cast<std::size_t>(i)];
        slice.Moment = static_cast<float>(h * slice.Z + m);
        slice.Shear = state.H;
        for (int k = 1; k < i; ++k) {
            const SliceType& above = slices[static_cast<std::size_t>(k)];
            const double arm = double(slice.Z) - above.Z;
            const double force = above.SoilForce;
            if (above.Z <= zr) {
                slice.Moment = static_cast<float>(slice.Moment - arm * force);
                slice.Shear = static_cast<float>(slice.Shear - force);
            } else {
                slice.Moment = static_cast<float>(slice.Moment + arm * force);
                slice.Shear = static_cast<float>(slice.Shear + force);
            }
        }
        // The upper half of the slice itself: half its force, a quarter of
        // its thickness above its middle.
        const double halfForce = double(slice.SoilForce) / 2.0;
        const double arm = double(slice.dZ) / 4.0;
        if (slice.Z <= zr) {
            slice.Moment = static_cast<float>(slice.Moment - halfForce * arm);
            slice.Shear = static_cast<float>(slice.Shear - halfForce);
        } else {
            slice.Moment = static_cast<float>(slice.Moment + halfForce * arm);
            slice.Shear = static_cast<float>(slice.Shear + halfForce);
        }
        if (std::fabs(state.MaxMoment) < std::fabs(slice.Moment))
            state.MaxMoment = slice.Moment;
        if (std::fabs(state.MaxShear) < std::fabs(slice.Shear))
            state.MaxShear = slice.Shear;
    }
}

} // namespace latcap
