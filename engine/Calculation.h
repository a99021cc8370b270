#pragma once

#include "AnalysisState.h"
#include "Commands.h"
#include "DesignFactors.h"
#include "InputData.h"
#include "Rigidity.h"

#include <memory>
#include <string>
#include <vector>

namespace latcap {

// How a calculation ended, from the best to the worst.
enum class CalcStatus {
    Converged,
    IterationProblem, // a solver gave up; its last trial is shown
    NoValidResult, // the numbers lie outside what the method can give
    ArithmeticProblem, // a number came out infinite or not a number
    NotEnoughData,
};

// "converged", "iteration problem", "no valid result", "arithmetic problem",
// "not enough data".
const char* StatusWord(CalcStatus status);

// "Calc L" / "Calc M", and the box each one fills: "L" / "M".
const char* CommandName(Command command);
const char* AnswerKey(Command command);

// One run of Calc L or Calc M on the texts of the boxes, with everything the
// window, latcap-batch, the report and the diagrams show of it.
struct Calculation {
    Command command = Command::CalcL;
    InputTexts inputs; // what the calculation read: the design inputs under factors
    // The combination of partial factors the inputs were made with ("none"
    // without factors), and the inputs as given before them.
    FactorCombination factors;
    InputTexts given;
    // Gathered, solved and with the pile forces; the inputs as read when the
    // data are not enough.
    std::shared_ptr<const AnalysisState> state = std::make_shared<const AnalysisState>();
    bool dataOk = false;
    CalcOutcome outcome;
    ResultTexts results;
    // In order: the solvers' messages, the arithmetic problem, the validity
    // line; "Not Enough Data" alone when the data are not enough.
    std::vector<std::string> messages;
    std::string reason; // why the data are not enough, e.g. "CSF must be greater than 0"
    // Why the numbers are no valid result, in plain words, e.g. "H alone is
    // more than a pile 1.2 m deep carries; the point of rotation 1.387 m lies
    // below the toe"; empty for a valid result.
    std::string validity;
    std::vector<MisreadBox> misread;
    // Whether the pile is rigid at its depth, judged when there are results
    // and EI is given.
    Rigidity rigidity;

    CalcStatus Status() const;
    // The numbers can be shown: the data were good and every number finite.
    bool HasResults() const { return dataOk && !outcome.arithmeticProblem; }
    // The depth found [m] (Calc L) or the moment carried [kNm] (Calc M).
    float Answer() const;
    // The embedded depth of the pile [m]: found (Calc L) or given (Calc M).
    float Depth() const;
    // "L = 2.478" or "M = 101.32", and the three result captions; empty
    // without results.
    std::vector<std::string> OutputLines() const;
};

// Gathers the texts of the rows in use, validates them for the
// command, solves, computes the pile forces and judges the result. A result
// is valid when 0 < Zr < L (the depth found or given), for Calc M the moment
// carried is not negative, when the solvers converged the slices balance the
// loads within a tenth of them (EquilibriumCheck), and, when EI is given, the
// pile is rigid at that depth (JudgeRigidity).
Calculation Calculate(Command command, const InputTexts& inputs, SolverSink* observer = nullptr);

// A command under a set of partial factors: Calculate on the design inputs
// of each of the set's combinations (DesignInputs), the governing one
// returned: the worse status, then the greater depth (Calc L) or the smaller
// moment carried (Calc M). Misread boxes are those of the given inputs. A
// factor that is not greater than 0 is "Not Enough Data" with its reason.
// Without factors (set none) this is Calculate to the last digit.
Calculation CalculateDesign(
    Command command, const InputTexts& given, const FactorSet& set, SolverSink* observer = nullptr);

} // namespace latcap
