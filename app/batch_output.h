#pragma once

#include "batch_run.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <ostream>
#include <string>
#include <vector>

namespace latcap::batch {

// The header of a sweep's CSV table: the varied keys and the numbers of a
// run, with their units, then Broms' answer, the factors' combination (with
// factors other than none), with stiffness a Stiffness column (when the case
// or a varied key gives EI), Status and Messages.
std::string SweepCsvHeader(
    Command command, const std::vector<std::string>& keys, bool factors = false, bool stiffness = false);

// One row of a sweep: the value, the numbers a single run prints, with
// stiffness the criteria of the pile's rigidity (RigiditySummary, empty
// without results), the status word and the messages with the reason when
// the data are not enough (quoted where it holds a comma).
std::string SweepCsvRow(
    const std::vector<std::string>& values, const Calculation& calc, bool factors = false, bool stiffness = false);

// The line that names the factors a run used, e.g. "Factors = EN 1997-1 DA1,
// governed by EN 1997-1 DA1-2".
std::string FactorsLine(const FactorSet& set, const FactorCombination& governing);

// What a calculation says on standard error: its messages, then why the
// data are not enough.
std::vector<std::string> ErrorLines(const Calculation& calc);

// A design check as CSV: the varied values, the load factor, the ultimate
// load and its height, the utilisation, the depth required, the moment
// carried at L with H, the verdict (empty without numbers to judge), the
// governing combination of factors (with factors other than none), with
// stiffness the rigidity of the pile of the design depth L, the check's
// status and the messages.
std::string CheckCsvHeader(const std::vector<std::string>& keys, bool factors = false, bool stiffness = false);
std::string CheckCsvRow(
    const std::vector<std::string>& values, const DesignCheck& check, bool factors = false, bool stiffness = false);

// The varied keys and their values of a sweep's row: {key, value} for one
// key, an array of them for a grid.
QJsonValue VariedJson(const std::vector<std::string>& keys, const std::vector<std::string>& values);

// One element of a JSON array as PrintJson writes the whole array: the
// object indented by one level, without a line break at its end.
std::string JsonArrayElement(const QJsonObject& object);

// A design check as one JSON object: its calculations as calcM (at L with
// H), ultimate (at L with lambda H) and required (at the depth required),
// each as CalculationJson; with numbers to judge loadFactor, ultimateLoad
// [kN], loadHeight [m], utilisation, depthRequired [m; null when no depth
// passes], momentCarried [kNm] unrounded, and verdict; the status, the
// reason when the data are not enough, the factors (with factors other
// than none) and the exit status.
QJsonObject CheckJson(
    const DesignCheck& check, const FactorSet& factors, const QString& casePath, const std::string& title, bool slices);

// A calculation as one JSON object: the case and its title, the command,
// the inputs as read by the number rule, the answer, Zr, the shown maxima and
// where they occur, Broms' cross-check, the pile's rigidity when EI, nh or
// k is given (rigidity: EI, L, the criteria and whether it is rigid, or
// checked false without EI), the status, messages and exit status, why the
// data are not enough (reason) when they are not, and with slices
// the slice table (shear and moment times CSF). With factors other than
// none, factors: the set, the combination used, its source, the partial
// factors, the combined factor on the loads and each layer's design values.
// The inputs are those given. Lengths in m, forces in kN,
// moments in kNm, pressures in kPa, unit weights in kN/m3, angles in
// degrees.
QJsonObject CalculationJson(const Calculation& calc, const QString& casePath, const std::string& title, bool slices,
    const FactorSet* factors = nullptr);

// Writes an object or an array as indented JSON.
void PrintJson(std::ostream& out, const QJsonValue& value);

} // namespace latcap::batch
