#pragma once

#include "AnalysisState.h"
#include "CaseFile.h"
#include "Commands.h"
#include "InputData.h"

#include <memory>
#include <string>
#include <vector>

namespace latcap::batch {

enum class Command { CalcL, CalcM };

// Exit statuses of the batch tool.
inline constexpr int kExitConverged = 0;
inline constexpr int kExitProblem = 1;
inline constexpr int kExitNotEnoughData = 2;
inline constexpr int kExitUsage = 64;

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

    // The window shows results: the data were good and every number finite.
    bool HasResults() const { return dataOk && !outcome.arithmeticProblem; }
    bool Converged() const { return dataOk && !outcome.iterationProblem; }
    int ExitStatus() const;
    // "L = 2.478" or "M = 101.32".
    std::string AnswerText() const;
    // The answer line and the three result captions; empty without results.
    std::vector<std::string> OutputLines() const;
};

Calculation Calculate(Command command, const InputTexts& inputs, int layerCount);

// "Calc L" / "Calc M" and the name of the box each one fills.
const char* CommandName(Command command);
const char* AnswerKey(Command command);

} // namespace latcap::batch
