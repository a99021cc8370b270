#include "FileFormats.h"

#include "Coefficients.h"
#include "DisplayFormats.h"
#include "Messages.h"
#include "NumberText.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>

namespace latcap {
namespace {

    constexpr const char* kLineEnd = "\r\n";

} // namespace

std::array<std::string, kDetailsColumns> CalcDetailsHeader()
{
    return { "Z", "Weight Above", "Kq", "Kc", "dZ", "Soil Pressure", "Soil Force", "CSF * Pile Shear",
        "CSF * Pile Moment" };
}

std::array<std::string, kDetailsColumns> CalcDetailsRow(const AnalysisState& state, int slice)
{
    const SliceType& s = state.Slice.at(static_cast<std::size_t>(slice));
    const float shear = ShownShear(state, s);
    const float moment = ShownMoment(state, s);
    std::array<std::string, kDetailsColumns> row;
    std::size_t column = 0;
    for (float value : { s.Z, s.WeightAbove, s.Kq, s.Kc, s.dZ, s.SoilPressure, s.SoilForce, shear, moment })
        row[column++] = FormatMask(value, mask::kDetails);
    return row;
}

void WriteCalcDetails(std::ostream& out, const AnalysisState& state)
{
    const auto header = CalcDetailsHeader();
    for (std::size_t i = 0; i < header.size(); ++i)
        out << (i ? "," : "") << header[i];
    out << kLineEnd;
    for (int i = 1; i <= static_cast<int>(Slices(state).size()); ++i) {
        for (const std::string& cell : CalcDetailsRow(state, i))
            out << cell << ',';
        out << kLineEnd;
    }
}

void WriteCoefficientTable(std::ostream& out, const CoefficientTable& table)
{
    out << "z/D";
    for (int degrees = 0; degrees <= 45; degrees += 5)
        out << ',' << std::to_string(degrees) << '\xB0';
    out << kLineEnd;
    for (std::size_t j = 1; j <= 21; ++j) {
        out << FormatMask(table[1][j][1], mask::kTable);
        for (std::size_t i = 1; i <= 10; ++i)
            out << ',' << FormatMask(table[i][j][3], mask::kTable);
        out << kLineEnd;
    }
}

std::array<TableFile, 2> CoefficientTableFiles()
{
    CoefficientTables tables;
    FillKqTable(tables);
    FillKcTable(tables);
    std::array<TableFile, 2> files { TableFile { text::kKqTableFile, {} }, TableFile { text::kKcTableFile, {} } };
    for (auto& [file, table] : { std::pair { &files[0], &tables.KqTable }, std::pair { &files[1], &tables.KcTable } }) {
        std::ostringstream out;
        WriteCoefficientTable(out, *table);
        file->text = out.str();
    }
    return files;
}

std::string InputFileProblem(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return {};
    if (fs::is_directory(status))
        return "it is a folder";
    if (!fs::is_regular_file(status))
        return "it is not a regular file but a device, a pipe or a socket";
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > kMaxInputFileBytes)
        return "it is larger than 1 MB (" + std::to_string(size) + " bytes)";
    return {};
}

std::optional<std::string> SettingsCsfLine(std::string_view content)
{
    std::size_t lineStart = 0;
    for (int line = 1; line <= 2; ++line) {
        if (lineStart >= content.size())
            return std::nullopt;
        std::size_t end = content.find_first_of("\r\n", lineStart);
        const std::size_t lineEnd = end == std::string_view::npos ? content.size() : end;
        if (line == 2)
            return std::string(content.substr(lineStart, lineEnd - lineStart));
        if (end == std::string_view::npos)
            return std::nullopt;
        lineStart = end + 1;
        if (content[end] == '\r' && lineStart < content.size() && content[lineStart] == '\n')
            ++lineStart;
    }
    return std::nullopt;
}

} // namespace latcap
