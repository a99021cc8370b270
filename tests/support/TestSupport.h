#pragma once

#include "Solvers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace latcap::testing {

// The whole content of a file, empty when it cannot be read.
inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// A kept file in tests/data.
inline std::string DataPath(const std::string& name) { return std::string(LATCAP_TEST_DATA) + "/" + name; }

// One row of a tab-separated table in tests/data: its name and its fields,
// in which \t, \n and \r stand for tab, line feed and carriage return.
struct TableRow {
    std::string name;
    std::vector<std::string> fields;
    friend void PrintTo(const TableRow& row, std::ostream* out) { *out << row.name; }
};

// The rows of a table in tests/data, each with `fields` fields after its
// name (missing ones empty); blank lines and lines starting with # are skipped.
inline std::vector<TableRow> TableRows(const std::string& file, std::size_t fields)
{
    std::vector<TableRow> rows;
    std::istringstream lines(ReadFile(DataPath(file)));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        std::istringstream cells(line);
        TableRow& row = rows.emplace_back();
        std::getline(cells, row.name, '\t');
        for (std::string cell; std::getline(cells, cell, '\t');) {
            for (const auto& [escape, character] : { std::pair { "\\t", '\t' }, { "\\n", '\n' }, { "\\r", '\r' } }) {
                for (auto at = cell.find(escape); at != std::string::npos; at = cell.find(escape, at))
                    cell.replace(at, 2, 1, character);
            }
            row.fields.push_back(cell);
        }
        row.fields.resize(fields);
    }
    return rows;
}

// The fields of a row from the first on, read as numbers.
inline std::vector<double> Numbers(const TableRow& row, std::size_t first = 0)
{
    std::vector<double> numbers;
    for (std::size_t i = first; i < row.fields.size(); ++i)
        numbers.push_back(std::stod(row.fields[i]));
    return numbers;
}

// Names a parameterised case after its `name` field.
struct CaseName {
    template <typename Param> std::string operator()(const ::testing::TestParamInfo<Param>& info) const
    {
        return info.param.name;
    }
};

// Records every solver report.
class RecordingSink final : public SolverSink {
public:
    void IterationProblem(SolverProblem problem) override { problems.push_back(problem); }
    std::vector<SolverProblem> problems;
};

} // namespace latcap::testing
