#pragma once

#include "Solvers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
