#pragma once

#include "InputData.h"
#include "Solvers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace latcap::testing {

// Sand of unit weight 18 kN/m3 and friction angle 30 degrees from 0 to 100 m
// around a pile 0.6 m wide: the soil of the worked examples.
inline InputTexts ReferenceSand(std::string h, std::string m, std::string l, std::string csf = "1")
{
    InputTexts texts;
    texts.csf = std::move(csf);
    texts.h = std::move(h);
    texts.m = std::move(m);
    texts.l = std::move(l);
    texts.layers[0] = {"0", "100", "18", "0", "30", "0.6"};
    return texts;
}

// Names a parameterised case after its `name` field.
struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const
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
