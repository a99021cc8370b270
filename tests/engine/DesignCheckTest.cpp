#include "DesignCheck.h"
#include "CaseFile.h"
#include "NumberText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace latcap {
namespace {

    struct Row {
        std::string name, caseText;
    };

    void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

    std::vector<Row> Rows()
    {
        std::vector<Row> rows;
        for (const testing::TableRow& row : testing::TableRows("engine/load-factor.tsv", 1))
            rows.push_back({ row.name, row.fields[0] });
        return rows;
    }

    class LoadFactor : public ::testing::TestWithParam<Row> { };

    // The factor on H and M at which the pile of depth L is at its ultimate
    // state, found apart from the check: the moment Calc M finds with
    // lambda H less lambda M falls as lambda grows, and crosses 0 there.
    TEST_P(LoadFactor, IsWhereCalcMCarriesTheRaisedLoads)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase(GetParam().caseText, "case", read, error)) << error;
        const FactorSet set = CaseFactorSet(read);
        const InputTexts given = CaseInputs(read, "1");
        double smallest = 1e300;
        for (const FactorCombination& combination : Combinations(set)) {
            InputTexts texts = DesignInputs(given, combination.factors);
            const double h = ReadNumber(texts.h), m = ReadNumber(texts.m);
            double low = 1e-3, high = 1e3;
            for (int i = 0; i < 100; ++i) {
                const double lambda = std::sqrt(low * high);
                texts.h = ShortestText(lambda * h);
                const Calculation calc = Calculate(Command::CalcM, texts);
                const bool carried = calc.validity.empty() && double(calc.state->CSF) * calc.state->M >= lambda * m;
                (carried ? low : high) = lambda;
            }
            smallest = std::min(smallest, low);
        }
        const DesignCheck check = CheckDesign(given, set);
        ASSERT_TRUE(check.judged);
        EXPECT_NEAR(check.utilisation, 1.0 / smallest, 1e-6 / smallest);
        EXPECT_EQ(check.ok, smallest >= 1.0);
    }

    INSTANTIATE_TEST_SUITE_P(Engine, LoadFactor, ::testing::ValuesIn(Rows()), testing::CaseName());

} // namespace
} // namespace latcap
