#include "batch_run.h"

#include "Messages.h"
#include "Solvers.h"

namespace latcap::batch {
namespace {

    class MessageList final : public SolverSink {
    public:
        explicit MessageList(std::vector<std::string>& messages)
            : messages_(messages)
        {
        }
        void IterationProblem(SolverProblem problem) override { messages_.emplace_back(IterationMessage(problem)); }

    private:
        std::vector<std::string>& messages_;
    };

} // namespace

const char* CommandName(Command command) { return command == Command::CalcL ? "Calc L" : "Calc M"; }

const char* AnswerKey(Command command) { return command == Command::CalcL ? "L" : "M"; }

int Calculation::ExitStatus() const
{
    if (!dataOk)
        return kExitNotEnoughData;
    if (outcome.iterationProblem || outcome.arithmeticProblem)
        return kExitProblem;
    return kExitConverged;
}

std::string Calculation::AnswerText() const { return std::string(AnswerKey(command)) + " = " + outcome.answer; }

std::vector<std::string> Calculation::OutputLines() const
{
    if (!HasResults())
        return {};
    return { AnswerText(), results.zr, results.moment, results.shear };
}

Calculation Calculate(Command command, const InputTexts& inputs, int layerCount)
{
    Calculation calc;
    calc.command = command;
    calc.inputs = inputs;
    calc.layerCount = layerCount;
    AnalysisState& state = *calc.state;
    state.NoLayers = static_cast<std::int16_t>(layerCount);
    calc.dataOk = GatherInputs(inputs, state);
    if (!calc.dataOk) {
        calc.messages.emplace_back(text::kNotEnoughData);
        return calc;
    }
    MessageList sink(calc.messages);
    calc.outcome = command == Command::CalcL ? RunCalcL(state, sink) : RunCalcM(state, sink);
    if (calc.outcome.arithmeticProblem)
        calc.messages.emplace_back(command == Command::CalcL ? text::kDepthArithmetic : text::kMomentArithmetic);
    else
        calc.results = ShowResults(state);
    return calc;
}

} // namespace latcap::batch
