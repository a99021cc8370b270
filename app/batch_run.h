#pragma once

#include "batch_options.h"

#include "Calculation.h"
#include "DesignCheck.h"

#include <QStringList>

#include <ostream>

namespace latcap::batch {

// Exit statuses of the batch tool.
inline constexpr int kExitConverged = 0;
inline constexpr int kExitNoCleanResult = 1; // an iteration or arithmetic problem, or no valid result
inline constexpr int kExitNotEnoughData = 2;
inline constexpr int kExitDesignNotOk = 3;
inline constexpr int kExitUsageOrFileError = 64;

// The exit status of a calculation by its status, and of a design check:
// that of a calculation without numbers to judge, else by the verdict.
int ExitStatus(const Calculation& calc);
int ExitStatus(const DesignCheck& check);

// Flushes out; false when what was written to it since errno was last
// cleared did not all get there (a full disk, a closed pipe), with one line
// on err that says why.
bool Delivered(std::ostream& out, std::ostream& err);

// Runs the tool on its command line (arguments[0] being the program): the
// results and tables go to out, messages to err, and with progress a
// sweep's progress line too. Returns the exit status.
int Run(const QStringList& arguments, std::ostream& out, std::ostream& err, bool progress = false);

} // namespace latcap::batch
