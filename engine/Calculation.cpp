#include "Calculation.h"

#include "CalcSheet.h"
#include "DisplayFormats.h"
#include "Messages.h"
#include "NumberText.h"

#include <cmath>
#include <optional>

namespace latcap {
namespace {

    // Passes the solvers' reports on to the observer and keeps their messages.
    class Reports final : public SolverSink {
    public:
        Reports(std::vector<std::string>& messages, SolverSink* observer)
            : messages_(messages)
            , observer_(observer)
        {
        }
        void IterationProblem(SolverProblem problem) override
        {
            messages_.emplace_back(IterationMessage(problem));
            if (observer_)
                observer_->IterationProblem(problem);
        }

    private:
        std::vector<std::string>& messages_;
        SolverSink* observer_;
    };

    // A moment [kNm] as the moment box shows it, or, when that shows none of
    // its digits, with two significant figures, so that -0.0038 keeps its sign.
    std::string MomentText(double value)
    {
        const std::string shown = FormatMask(value, mask::kMoment);
        if (value == 0 || !std::isfinite(value) || ReadNumber(shown) != 0)
            return shown;
        return std::fabs(value) >= 1e-8 ? SignificantText(value, 2) : ShortestText(value);
    }

    // Why a result lies outside the method, or nothing when it does not.
    std::string Validity(
        Command command, const AnalysisState& state, float depth, bool solversConverged, const Rigidity& rigidity)
    {
        const std::string zr = FormatMask(state.Zr, mask::kZr) + " m";
        if (command == Command::CalcL && !(depth > 0.0f))
            return "The depth found, " + FormatMask(depth, mask::kDepth) + " m, is not below the ground surface";
        if (!(state.Zr < depth)) {
            const std::string where = std::string(state.Zr > depth ? "below" : "at") + " the toe";
            if (command == Command::CalcM)
                return "H alone is more than a pile " + ShortestText(depth) + " m deep carries; the point of rotation "
                    + zr + " lies " + where;
            return "The point of rotation " + zr + " lies " + where + " at " + FormatMask(depth, mask::kDepth) + " m";
        }
        if (!(state.Zr > 0.0f))
            return "The point of rotation " + zr + " is not below the ground surface";
        if (command == Command::CalcM && state.M < 0.0f)
            return "H alone is more than a pile " + ShortestText(depth) + " m deep carries; the moment found is "
                + MomentText(double(state.CSF) * state.M) + " kNm";
        // A solver that gave up says so itself; one that stopped within its
        // tolerance may still be far from balancing loads smaller than it.
        if (solversConverged && !EquilibriumCheck(state).Resolved())
            return "the loads are too small for the solver's resolution of 0.1 kN and 0.1 kNm";
        return NotRigidReason(rigidity);
    }

} // namespace

const char* StatusWord(CalcStatus status)
{
    switch (status) {
    case CalcStatus::Converged:
        return "converged";
    case CalcStatus::IterationProblem:
        return "iteration problem";
    case CalcStatus::NoValidResult:
        return "no valid result";
    case CalcStatus::ArithmeticProblem:
        return "arithmetic problem";
    case CalcStatus::NotEnoughData:
        break;
    }
    return "not enough data";
}

const char* CommandName(Command command) { return command == Command::CalcL ? "Calc L" : "Calc M"; }

const char* AnswerKey(Command command) { return command == Command::CalcL ? "L" : "M"; }

CalcStatus Calculation::Status() const
{
    if (!dataOk)
        return CalcStatus::NotEnoughData;
    if (outcome.arithmeticProblem)
        return CalcStatus::ArithmeticProblem;
    if (!validity.empty())
        return CalcStatus::NoValidResult;
    if (outcome.iterationProblem)
        return CalcStatus::IterationProblem;
    return CalcStatus::Converged;
}

float Calculation::Depth() const { return command == Command::CalcL ? state->LCalc : state->L; }

float Calculation::Answer() const { return command == Command::CalcL ? state->LCalc : Shown(*state, state->M); }

std::vector<std::string> Calculation::OutputLines() const
{
    if (!HasResults())
        return {};
    return { std::string(AnswerKey(command)) + " = " + outcome.answer, results.zr, results.moment, results.shear };
}

namespace {

    // The misread boxes a command reads: the box it answers in is no input of
    // it, and is overwritten.
    std::vector<MisreadBox> MisreadInputs(Command command, const InputTexts& inputs)
    {
        std::vector<MisreadBox> misread = MisreadBoxes(inputs);
        std::erase_if(
            misread, [answer = std::string(AnswerKey(command))](const MisreadBox& box) { return box.name == answer; });
        return misread;
    }

} // namespace

Calculation Calculate(Command command, const InputTexts& inputs, SolverSink* observer)
{
    Calculation calc;
    calc.command = command;
    calc.inputs = inputs;
    calc.given = inputs;
    calc.misread = MisreadInputs(command, inputs);
    const auto solved = std::make_shared<AnalysisState>();
    calc.state = solved;
    AnalysisState& state = *solved;
    state.NoLayers = static_cast<std::int16_t>(inputs.layerCount);
    InputProblem problem;
    calc.dataOk = GatherInputs(inputs, state, command, &problem);
    if (!calc.dataOk) {
        calc.messages.emplace_back(text::kNotEnoughData);
        calc.reason = problem.reason;
        return calc;
    }
    if (observer)
        observer->Solving();
    Reports reports(calc.messages, observer);
    calc.outcome = command == Command::CalcL ? RunCalcL(state, reports) : RunCalcM(state, reports);
    if (calc.outcome.arithmeticProblem) {
        calc.messages.emplace_back(command == Command::CalcL ? text::kDepthArithmetic : text::kMomentArithmetic);
        return calc;
    }
    calc.results = ShowResults(state);
    calc.rigidity = JudgeRigidity(inputs, state, calc.Depth());
    calc.validity = Validity(command, state, calc.Depth(), !calc.outcome.iterationProblem, calc.rigidity);
    if (!calc.validity.empty())
        calc.messages.push_back(calc.validity);
    return calc;
}

Calculation CalculateDesign(Command command, const InputTexts& given, const FactorSet& set, SolverSink* observer)
{
    std::optional<Calculation> governing;
    for (const FactorCombination& combination : Combinations(set)) {
        Calculation calc;
        if (const std::string problem = FactorProblem(combination); !problem.empty()) {
            calc.command = command;
            calc.inputs = given;
            calc.messages.emplace_back(text::kNotEnoughData);
            calc.reason = problem;
        } else {
            calc = Calculate(command, DesignInputs(given, combination.factors), observer);
        }
        calc.factors = combination;
        calc.given = given;
        calc.misread = MisreadInputs(command, given);
        const auto worse = [command](const Calculation& a, const Calculation& b) {
            if (a.Status() != b.Status())
                return a.Status() > b.Status();
            if (!a.HasResults())
                return false;
            return command == Command::CalcL ? a.state->LCalc > b.state->LCalc
                                             : double(a.state->CSF) * a.state->M < double(b.state->CSF) * b.state->M;
        };
        if (!governing || worse(calc, *governing))
            governing = std::move(calc);
    }
    return std::move(*governing);
}

} // namespace latcap
