#include "InputData.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace latcap {

float DegreesToRadians(double degrees) { return static_cast<float>(degrees * double(kPi) / 180.0); }

bool GatherInputs(const InputTexts& texts, AnalysisState& state)
{
    bool ok = true;
    bool allFinite = true;
    auto store = [&allFinite](float& field, double value) {
        field = static_cast<float>(value);
        if (!std::isfinite(field))
            allFinite = false;
    };

    state.DataOK = kTrue;
    store(state.CSF, ReadNumber(texts.csf));
    // A zero CSF fails below; the quotients it leaves are never used.
    store(state.M, ReadNumber(texts.m) / state.CSF);
    store(state.H, ReadNumber(texts.h) / state.CSF);
    store(state.L, ReadNumber(texts.l));
    if (state.CSF <= 0.0f)
        ok = false;
    if (state.M == 0.0f && state.L <= 0.0f)
        ok = false;

    float strength = 0.0f;
    const int layers = std::clamp<int>(state.NoLayers, 0, kMaxLayers);
    for (std::int16_t i = 0; i < layers; ++i) {
        const LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
        LayerType& layer = state.Layer[static_cast<std::size_t>(i + 1)];
        store(layer.C, ReadNumber(row.c));
        store(layer.D, ReadNumber(row.d));
        if (layer.D <= 0.0f)
            ok = false;
        const double degrees = ReadNumber(row.phi);
        store(layer.Phi, double(DegreesToRadians(degrees)));
        // The earth-pressure factors have no meaning at 90 degrees and beyond.
        if (!(degrees < 90.0))
            ok = false;
        store(layer.Gama, ReadNumber(row.gama));
        store(layer.ZFrom, ReadNumber(row.from));
        store(layer.ZTo, ReadNumber(row.to));
        store(strength, (double(layer.Gama) * layer.Phi + strength) + layer.C);
        if (layer.ZTo <= 0.0f)
            ok = false;
        if (layer.ZTo < layer.ZFrom)
            ok = false;
    }
    if (strength <= 0.0f)
        ok = false;
    if (!allFinite)
        ok = false;
    state.DataOK = ok ? kTrue : kFalse;
    return ok;
}

} // namespace latcap
