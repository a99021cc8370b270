#pragma once

#include "Study.h"

#include "InputData.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace latcap::batch {

// What the command line asks for.
struct Options {
    enum class Action { Calculate, Tables, Help, Version };
    Action action = Action::Calculate;
    Command command = Command::CalcL;
    bool check = false; // the design check: Calc M at L and Calc L for H and M
    QString casePath; // calc-l, calc-m
    QString folder; // tables
    std::vector<CaseSetting> settings;
    std::vector<Sweep> sweeps; // a grid of up to kMaxSweepKeys, the first varying slowest
    std::size_t rows = 0; // of the grid
    unsigned jobs = 1; // threads that compute the rows
    Shard shard;
    bool json = false;
    bool slices = false;
    QString details;
    QString plot;
    QString report;
    QString helpText;
};

// Reads the command line, arguments[0] being the program. On a usage error
// returns false with the reason.
bool ParseArguments(const QStringList& arguments, Options& options, QString& error);

// "latcap-batch 1.0.0".
QString VersionLine();

} // namespace latcap::batch
