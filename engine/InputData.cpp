#include "InputData.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

namespace latcap {

float DegreesToRadians(double degrees) { return static_cast<float>(degrees * double(kPi) / 180.0); }

namespace {

    // Every failing box met while gathering; the first in window order is told.
    class Problems {
    public:
        void Add(InputBox box, int row, std::string reason) { found_.push_back({ box, row, std::move(reason) }); }
        bool Any() const { return !found_.empty(); }
        InputProblem First() const
        {
            const auto place = [](const InputProblem& p) { return std::pair(p.row, static_cast<int>(p.box)); };
            return *std::min_element(
                found_.begin(), found_.end(), [&](const auto& a, const auto& b) { return place(a) < place(b); });
        }

    private:
        std::vector<InputProblem> found_;
    };

    std::string LayerName(int row) { return "Layer " + std::to_string(row + 1) + ": "; }

} // namespace

bool GatherInputs(const InputTexts& texts, AnalysisState& state, Command command, InputProblem* problem)
{
    Problems problems;
    // A CSF of 0 or less is told before the quotients it leaves, which are
    // never used.
    auto store = [&problems](float& field, double value, InputBox box, int row, const std::string& name) {
        field = static_cast<float>(value);
        if (!std::isfinite(field))
            problems.Add(box, row, name + " is too large");
    };

    store(state.CSF, ReadNumber(texts.csf), InputBox::Csf, -1, "CSF");
    if (state.CSF <= 0.0f)
        problems.Add(InputBox::Csf, -1, "CSF must be greater than 0");
    store(state.M, ReadNumber(texts.m) / state.CSF, InputBox::M, -1, "M divided by CSF");
    store(state.H, ReadNumber(texts.h) / state.CSF, InputBox::H, -1, "H divided by CSF");
    store(state.L, ReadNumber(texts.l), InputBox::L, -1, "L");
    // A pile needs a depth to carry a moment; Calc L needs a moment or a
    // depth as the window always asked.
    if (command == Command::CalcM && state.L <= 0.0f)
        problems.Add(InputBox::L, -1, "Calc M needs a depth L greater than 0");
    else if (state.M == 0.0f && state.L <= 0.0f)
        problems.Add(InputBox::M, -1, "Calc L needs a moment M other than 0");

    float strength = 0.0f;
    const int layers = std::clamp<int>(state.NoLayers, 0, kMaxLayers);
    for (std::int16_t i = 0; i < layers; ++i) {
        const LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
        LayerType& layer = state.Layer[static_cast<std::size_t>(i + 1)];
        const std::string name = LayerName(i);
        store(layer.C, ReadNumber(row.c), InputBox::C, i, name + "cohesion");
        store(layer.D, ReadNumber(row.d), InputBox::D, i, name + "width");
        if (layer.D <= 0.0f)
            problems.Add(InputBox::D, i, name + "width must be greater than 0");
        const double degrees = ReadNumber(row.phi);
        store(layer.Phi, double(DegreesToRadians(degrees)), InputBox::Phi, i, name + "friction angle");
        // The earth-pressure factors have no meaning at 90 degrees and beyond.
        if (!(degrees < 90.0))
            problems.Add(InputBox::Phi, i, name + "friction angle must be less than 90 degrees");
        store(layer.Gama, ReadNumber(row.gama), InputBox::Gama, i, name + "unit weight");
        // Soil does not pull on the pile.
        for (const auto& [value, box, what] :
            { std::tuple { layer.Gama, InputBox::Gama, "unit weight" }, std::tuple { layer.C, InputBox::C, "cohesion" },
                std::tuple { layer.Phi, InputBox::Phi, "friction angle" } }) {
            if (value < 0.0f)
                problems.Add(box, i, name + what + " must not be negative");
        }
        // A layer's top is the bottom of the layer above it.
        store(layer.ZFrom, ReadNumber(row.from), InputBox::To, std::max(i - 1, 0),
            i == 0 ? name + "top" : LayerName(i - 1) + "bottom");
        store(layer.ZTo, ReadNumber(row.to), InputBox::To, i, name + "bottom");
        store(strength, (double(layer.Gama) * layer.Phi + strength) + layer.C, InputBox::Gama, i,
            "The strength of the soil down to layer " + std::to_string(i + 1));
        if (layer.ZTo <= 0.0f)
            problems.Add(InputBox::To, i, name + "bottom must be below the ground surface");
        if (layer.ZTo < layer.ZFrom)
            problems.Add(InputBox::To, i,
                name + "bottom " + ShortestText(layer.ZTo) + " m is above its top " + ShortestText(layer.ZFrom) + " m");
    }
    // Told after every layer's own faults, which explain it.
    if (strength <= 0.0f)
        problems.Add(InputBox::Gama, kMaxLayers,
            "The soil has no strength: give a cohesion, or a unit weight and a friction angle");
    // The stiffness, only where given: EI asks for the pile to be judged.
    bool modulus = false;
    for (const auto& [text, box, name] : { std::tuple { &texts.ei, InputBox::Ei, "EI" },
             std::tuple { &texts.nh, InputBox::Nh, "nh" }, std::tuple { &texts.k, InputBox::K, "k" } }) {
        const NumberReading reading = ReadNumberText(*text);
        if (reading.empty)
            continue;
        modulus = modulus || box != InputBox::Ei;
        float value = 0;
        store(value, reading.value, box, kMaxLayers + 1, name);
        if (!(value > 0.0f))
            problems.Add(box, kMaxLayers + 1, std::string(name) + " must be greater than 0");
    }
    if (!ReadNumberText(texts.ei).empty && !modulus)
        problems.Add(InputBox::Ei, kMaxLayers + 1,
            "EI needs a modulus of subgrade reaction, nh or k, to judge whether the pile is rigid");
    const bool ok = !problems.Any();
    if (!ok && problem)
        *problem = problems.First();
    return ok;
}

std::vector<MisreadBox> MisreadBoxes(const InputTexts& texts)
{
    std::vector<std::pair<std::string, const std::string*>> boxes { { "CSF", &texts.csf }, { "H", &texts.h },
        { "M", &texts.m }, { "L", &texts.l } };
    for (int i = 0; i < std::clamp(texts.layerCount, 0, kMaxLayers); ++i) {
        const LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
        const std::string layer = "Layer " + std::to_string(i + 1) + " ";
        boxes.insert(boxes.end(),
            { { layer + "bottom", &row.to }, { layer + "unit weight", &row.gama }, { layer + "cohesion", &row.c },
                { layer + "friction angle", &row.phi }, { layer + "width", &row.d } });
    }
    boxes.insert(boxes.end(), { { "EI", &texts.ei }, { "nh", &texts.nh }, { "k", &texts.k } });
    std::vector<MisreadBox> misread;
    for (const auto& [name, text] : boxes) {
        const NumberReading reading = ReadNumberText(*text);
        if (reading.misread)
            misread.push_back({ name, *text, reading.value });
    }
    return misread;
}

std::string MisreadNote(const MisreadBox& box)
{
    return box.name + ": \"" + box.text + "\" read as " + ShortestText(box.value);
}

} // namespace latcap
