#pragma once

#include "batch_options.h"

#include "AnalysisState.h"
#include "Commands.h"
#include "InputData.h"

#include <QStringList>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace latcap::batch {

// Exit statuses of the batch tool.
inline constexpr int kExitConverged = 0;
inline constexpr int kExitIterationOrArithmeticProblem = 1;
inline constexpr int kExitNotEnoughData = 2;
inline constexpr int kExitUsageOrFileError = 64;

// How a calculation ended. An arithmetic problem wins over an iteration
// problem: it leaves no results to show.
enum class RunStatus { Converged, IterationProblem, ArithmeticProblem, NotEnoughData };

// "converged", "iteration problem", "arithmetic problem", "not enough data".
const char* StatusWord(RunStatus status);

// One run of "Calc L" or "Calc M" on the texts of a case, as the window runs
// it, with everything it leaves for the outputs.
struct Calculation {
    Command command = Command::CalcL;
    InputTexts inputs;
    int layerCount = 1;
    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    bool dataOk = false;
    CalcOutcome outcome;
    ResultTexts results;
    std::vector<std::string> messages; // as the window would show them, in order
    std::string reason; // why the data are not enough, e.g. "CSF must be greater than 0"

    // The window shows results: the data were good and every number finite.
    bool HasResults() const { return dataOk && !outcome.arithmeticProblem; }
    RunStatus Status() const;
    int ExitStatus() const;
    // The depth found [m] (Calc L) or the moment carried [kNm] (Calc M).
    float Answer() const;
    // The answer line and the three result captions; empty without results.
    std::vector<std::string> OutputLines() const;
};

Calculation Calculate(Command command, const InputTexts& inputs, int layerCount);

// "Calc L" / "Calc M" and the name of the box each one fills.
const char* CommandName(Command command);
const char* AnswerKey(Command command);

// Runs the tool on its command line (arguments[0] being the program): the
// results and tables go to out, messages to err. Returns the exit status.
int Run(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace latcap::batch
