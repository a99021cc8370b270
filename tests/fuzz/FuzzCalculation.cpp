#include "CaseFile.h"
#include "Commands.h"
#include "FileFormats.h"
#include "FuzzCheck.h"
#include "InputData.h"

#include <cmath>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using latcap::fuzz::Require;

class QuietSink final : public latcap::SolverSink {
public:
    void IterationProblem(latcap::SolverProblem) override { }
};

// A caption is prefix, number and unit; the number shows the value.
void RequireCaption(std::string_view caption, std::string_view prefix, double value, std::string_view unit)
{
    Require(caption.size() > prefix.size() + unit.size() && caption.starts_with(prefix) && caption.ends_with(unit),
        "a caption is prefix, number and unit", caption);
    caption.remove_prefix(prefix.size());
    caption.remove_suffix(unit.size());
    latcap::fuzz::RequireShows(caption, value, "caption");
}

// Runs a command on a copy of the gathered inputs: either an arithmetic
// problem with no answer, or finite results shown as they are.
std::string Run(const latcap::AnalysisState& gathered, bool calcL)
{
    latcap::AnalysisState s = gathered;
    QuietSink sink;
    const latcap::CalcOutcome outcome = calcL ? RunCalcL(s, sink) : RunCalcM(s, sink);
    Require(s.NoSlices >= 0 && s.NoSlices <= 500, "at most 500 slices");
    if (outcome.arithmeticProblem) {
        Require(outcome.answer.empty(), "an arithmetic problem shows no answer");
        return {};
    }
    Require(std::isfinite(s.ForceAbove) && std::isfinite(s.ForceBelow) && std::isfinite(s.SoilMoment),
        "shown results come from finite soil forces");
    std::ostringstream details;
    latcap::WriteCalcDetails(details, s);
    Require(details.str().find_first_not_of("0123456789.,-\r\n", details.str().find('\n')) == std::string::npos,
        "the details file holds finite numbers");
    latcap::fuzz::RequireShows(
        outcome.answer, calcL ? double(s.LCalc) : static_cast<float>(double(s.CSF) * s.M), "answer");
    if (calcL)
        Require(s.LCalc >= 0.0f && s.LCalc <= 50.0f, "the depth found lies within 0 to 50 m");
    const latcap::ResultTexts shown = latcap::ShowResults(s);
    RequireCaption(shown.zr, "Zr = ", s.Zr, " m");
    RequireCaption(shown.moment, "Moment = ", latcap::ShownMaxMoment(s), " kNm");
    RequireCaption(shown.shear, "Shear = ", latcap::ShownMaxShear(s), " kN");
    return outcome.answer;
}

} // namespace

// The input holds the texts of the boxes, one a line: CSF, load, moment,
// depth, layer count, then bottom, unit weight, cohesion, friction angle and
// width of each row. Tops and the deepest bottom are set as the window sets
// them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    auto next = [&input] {
        std::string field;
        std::getline(input, field);
        return field;
    };
    latcap::Case boxes;
    boxes.csf = next();
    for (std::string* box : { &boxes.h, &boxes.m, &boxes.l })
        *box = next();
    const std::string count = next();
    const int layers = count.empty() ? 1 : static_cast<unsigned char>(count.front() - '1') % latcap::kMaxLayers + 1;
    boxes.layerCount = layers;
    for (int i = 0; i < layers; ++i)
        boxes.layers[static_cast<std::size_t>(i)] = { "", next(), next(), next(), next(), next() };
    latcap::InputTexts texts = latcap::CaseInputs(boxes, "");

    latcap::AnalysisState gathered;
    gathered.NoLayers = static_cast<std::int16_t>(layers);
    if (latcap::GatherInputs(texts, gathered, latcap::Command::CalcM))
        Run(gathered, false);
    if (!latcap::GatherInputs(texts, gathered, latcap::Command::CalcL))
        return 0;
    // The window keeps the depth found in its box; a Calc M then reads it.
    texts.l = Run(gathered, true);
    if (!texts.l.empty() && latcap::GatherInputs(texts, gathered, latcap::Command::CalcM))
        Run(gathered, false);
    return 0;
}
