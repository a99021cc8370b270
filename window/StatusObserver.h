#pragma once

#include "SolverSink.h"

#include <QString>

class QLabel;
class QWidget;

namespace latcap {

class Platform;

// Says in the status line that the solvers run, shows each solver report in
// a message box under the program's title and remembers the last one for
// the status line.
class StatusObserver final : public SolverSink {
public:
    StatusObserver(Platform& platform, QWidget* window, QLabel* status, const char* waitText);

    void Solving() override;
    void IterationProblem(SolverProblem problem) override;

    QString last;

private:
    Platform& platform_;
    QWidget* window_;
    QLabel* status_;
    const char* waitText_;
};

} // namespace latcap
