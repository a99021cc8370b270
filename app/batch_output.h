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
// run, with their units, then Broms' answer, with stiffness a Stiffness
// column (when the case or a varied key gives EI), Status and Messages.
std::string SweepCsvHeader(Command command, const std::vector<std::string>& keys, bool stiffness = false);

// One row of a sweep: the value, the numbers a single run prints, with
// stiffness the criteria of the pile's rigidity (RigiditySummary, empty
// without results), the status word and the messages with the reason when
// the data are not enough (quoted where it holds a comma).
std::string SweepCsvRow(const std::vector<std::string>& values, const Calculation& calc, bool stiffness = false);

// What a calculation says on standard error: its messages, then why the
// data are not enough.
std::vector<std::string> ErrorLines(const Calculation& calc);

// A design check as CSV: the varied value, the moment carried, the depth
// required, the utilisation, the verdict (empty without numbers to judge),
// with stiffness the rigidity of the pile of the design depth L, the worse
// status of the two calculations and their messages.
std::string CheckCsvHeader(const std::vector<std::string>& keys, bool stiffness = false);
std::string CheckCsvRow(const std::vector<std::string>& values, const DesignCheck& check, bool stiffness = false);

// The varied keys and their values of a sweep's row: {key, value} for one
// key, an array of them for a grid.
QJsonValue VariedJson(const std::vector<std::string>& keys, const std::vector<std::string>& values);

// One element of a JSON array as PrintJson writes the whole array: the
// object indented by one level, without a line break at its end.
std::string JsonArrayElement(const QJsonObject& object);

// A design check as one JSON object: the two calculations as calcM and calcL
// (each as CalculationJson), and with numbers to judge momentCarried,
// depthRequired, utilisation and verdict; its exit status.
QJsonObject CheckJson(const DesignCheck& check, const QString& casePath, const std::string& title, bool slices);

// A calculation as one JSON object: the case and its title, the command,
// the inputs as read by the number rule, the answer, Zr, the shown maxima and
// where they occur, Broms' cross-check, the pile's rigidity when EI, nh or
// k is given (rigidity: EI, L, the criteria and whether it is rigid, or
// checked false without EI), the status, messages and exit status, why the
// data are not enough (reason) when they are not, and with slices
// the slice table (shear and moment times CSF). Lengths in m, forces in kN,
// moments in kNm, pressures in kPa, unit weights in kN/m3, angles in
// degrees.
QJsonObject CalculationJson(const Calculation& calc, const QString& casePath, const std::string& title, bool slices);

// Writes an object or an array as indented JSON.
void PrintJson(std::ostream& out, const QJsonValue& value);

} // namespace latcap::batch
