#pragma once

#include "AnalysisState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace latcap {

// The nine columns of the slice table, and the texts of one slice (from 1):
// shear and moment times CSF, every value "#####0.0##".
inline constexpr std::size_t kDetailsColumns = 9;
std::array<std::string, kDetailsColumns> CalcDetailsHeader();
std::array<std::string, kDetailsColumns> CalcDetailsRow(const AnalysisState& state, int slice);

// Writes the slice table of the last calculation as comma-separated text:
// a header and one line of nine values per slice, shear and moment times
// CSF, every value "#####0.0##" and followed by a comma, CR LF line ends.
void WriteCalcDetails(std::ostream& out, const AnalysisState& state);

// Writes one coefficient table (KqTable or KcTable) as comma-separated text:
// a header of angles with the single-byte degree sign and 21 rows of z/D and
// ten coefficients, every value "###0.00", CR LF line ends.
void WriteCoefficientTable(std::ostream& out, const CoefficientTable& table);

// The coefficient table files as they are written: KqTable.CSV, then
// KcTable.CSV, each with its text.
struct TableFile {
    const char* name;
    std::string text;
};
std::array<TableFile, 2> CoefficientTableFiles();

// Case files and the settings file are read only when they are regular files
// of at most this size.
inline constexpr std::uintmax_t kMaxInputFileBytes = 1024 * 1024;

// Why the file at path must not be read, e.g. "it is a folder" or "it is
// larger than 1 MB (2097152 bytes)"; empty when it is a regular file of at
// most kMaxInputFileBytes, or does not exist (opening it says so). A device
// or a pipe is never opened, so it can neither block nor run on for ever.
std::string InputFileProblem(const std::string& path);

// The second line of a settings file, where the default strength factor is
// kept. Lines end at CR, CR LF or LF. Empty when the file has no second line.
std::optional<std::string> SettingsCsfLine(std::string_view content);

} // namespace latcap
