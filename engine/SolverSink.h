#pragma once

namespace latcap {

// The two ways a solver can fail to converge within its iteration limit.
enum class SolverProblem {
    Moment, // the point of rotation was not found
    Depth, // the embedded depth was not found
};

// Follows the solvers: told when they start, and when one gave up (once per
// kind and command). The solver goes on afterwards with the values it left,
// as the commands expect.
class SolverSink {
public:
    virtual ~SolverSink() = default;
    virtual void Solving() { }
    virtual void IterationProblem(SolverProblem) { }
};

// The message of a solver report.
const char* IterationMessage(SolverProblem problem);

} // namespace latcap
