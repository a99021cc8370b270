#include "Commands.h"
#include "FileFormats.h"
#include "FuzzCheck.h"
#include "InputData.h"

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using latcap::fuzz::Require;
using latcap::fuzz::RequireShows;

class CountingSink final : public latcap::SolverSink {
public:
    void IterationProblem(latcap::SolverProblem) override { ++reports; }
    int reports = 0;
};

// Splits the input into the texts of the boxes, one line each: CSF, load,
// moment, depth, layer count, then bottom, unit weight, cohesion, friction
// angle and width of each row. Tops and the deepest bottom are set as the
// window sets them.
class BoxTexts {
public:
    explicit BoxTexts(std::string_view input)
        : rest_(input)
    {
    }

    std::string Next()
    {
        const std::size_t end = rest_.find('\n');
        std::string field(rest_.substr(0, end));
        rest_ = end == std::string_view::npos ? std::string_view {} : rest_.substr(end + 1);
        return field;
    }

private:
    std::string_view rest_;
};

int LayerCount(const std::string& text)
{
    if (text.empty())
        return 1;
    const auto first = static_cast<unsigned char>(text.front());
    if (first >= '1' && first <= '5')
        return first - '0';
    return first % latcap::kMaxLayers + 1;
}

bool HasNonFiniteWord(const std::string& text)
{
    std::string lower;
    for (char c : text)
        lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// A caption is prefix, number and unit; the number shows the value.
void RequireCaption(const std::string& caption, std::string_view prefix, double value, std::string_view unit)
{
    Require(!HasNonFiniteWord(caption), "a caption shows finite numbers", caption);
    Require(caption.size() > prefix.size() + unit.size() && caption.starts_with(prefix) && caption.ends_with(unit),
        "a caption is prefix, number and unit", caption);
    const std::string_view number
        = std::string_view(caption).substr(prefix.size(), caption.size() - prefix.size() - unit.size());
    RequireShows(number, value, caption);
}

void RequireShownResults(const latcap::AnalysisState& state, const latcap::CalcOutcome& outcome, double answerValue)
{
    Require(state.NoSlices >= 0 && state.NoSlices <= 500, "at most 500 slices");
    if (outcome.arithmeticProblem) {
        Require(outcome.answer.empty(), "an arithmetic problem shows no answer");
        return;
    }
    // The slice table behind shown results is what the details file holds.
    Require(std::isfinite(state.ForceAbove) && std::isfinite(state.ForceBelow) && std::isfinite(state.SoilMoment),
        "shown results come from finite soil forces");
    for (int i = 1; i <= state.NoSlices; ++i) {
        const latcap::SliceType& slice = state.Slice[static_cast<std::size_t>(i)];
        for (float value : { slice.Kq, slice.Kc, slice.SoilPressure, slice.WeightAbove, slice.dZ, slice.Z,
                 slice.SoilForce, slice.Moment, slice.Shear })
            Require(std::isfinite(value), "shown results come from a finite slice table", std::to_string(i));
    }
    std::ostringstream details;
    latcap::WriteCalcDetails(details, state);
    Require(!HasNonFiniteWord(details.str()), "the details file holds finite numbers");
    Require(!HasNonFiniteWord(outcome.answer), "the answer is finite", outcome.answer);
    RequireShows(outcome.answer, answerValue, "answer");
    const latcap::ResultTexts shown = latcap::ShowResults(state);
    RequireCaption(shown.zr, "Zr = ", state.Zr, " m");
    RequireCaption(
        shown.moment, "Moment = ", std::fabs(static_cast<float>(double(state.CSF) * state.MaxMoment)), " kNm");
    RequireCaption(shown.shear, "Shear = ", std::fabs(static_cast<float>(double(state.MaxShear) * state.CSF)), " kN");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BoxTexts input(std::string_view(reinterpret_cast<const char*>(data), size));
    latcap::InputTexts texts;
    texts.csf = input.Next();
    texts.h = input.Next();
    texts.m = input.Next();
    texts.l = input.Next();
    const int layers = LayerCount(input.Next());
    for (int i = 0; i < layers; ++i) {
        latcap::LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
        row.from = i == 0 ? "0" : texts.layers[static_cast<std::size_t>(i - 1)].to;
        row.to = input.Next();
        if (i == layers - 1)
            row.to = "100";
        row.gama = input.Next();
        row.c = input.Next();
        row.phi = input.Next();
        row.d = input.Next();
    }

    latcap::AnalysisState gathered;
    gathered.NoLayers = static_cast<std::int16_t>(layers);
    if (!latcap::GatherInputs(texts, gathered))
        return 0;

    CountingSink sink;
    auto depthRun = std::make_unique<latcap::AnalysisState>(gathered);
    const latcap::CalcOutcome depth = latcap::RunCalcL(*depthRun, sink);
    RequireShownResults(*depthRun, depth, depthRun->LCalc);
    if (!depth.arithmeticProblem)
        Require(depthRun->LCalc >= 0.0f && depthRun->LCalc <= 50.0f, "the depth found lies within 0 to 50 m");

    auto momentRun = std::make_unique<latcap::AnalysisState>(gathered);
    const latcap::CalcOutcome moment = latcap::RunCalcM(*momentRun, sink);
    RequireShownResults(*momentRun, moment, static_cast<float>(double(momentRun->CSF) * momentRun->M));

    // The window keeps the depth found in its box; a Calc M then reads it.
    if (!depth.arithmeticProblem) {
        texts.l = depth.answer;
        auto followUp = std::make_unique<latcap::AnalysisState>(gathered);
        if (latcap::GatherInputs(texts, *followUp)) {
            const latcap::CalcOutcome after = latcap::RunCalcM(*followUp, sink);
            RequireShownResults(*followUp, after, static_cast<float>(double(followUp->CSF) * followUp->M));
        }
    }
    return 0;
}
