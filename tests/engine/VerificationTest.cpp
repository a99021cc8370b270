#include "Broms.h"
#include "CaseFile.h"
#include "DesignFactors.h"
#include "NumberText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace latcap {
namespace {

    // One published figure beside latcap's (tests/data/verification.tsv).
    struct Example {
        std::string name, example, source, method, caseText, height, quantity, unit, published, kept, note;
    };

    void PrintTo(const Example& row, std::ostream* out) { *out << row.name; }

    std::vector<Example> Examples()
    {
        std::vector<Example> rows;
        for (const testing::TableRow& row : testing::TableRows("verification.tsv", 10)) {
            const auto& f = row.fields;
            rows.push_back({ row.name, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9] });
        }
        return rows;
    }

    Calculation RunCase(Command command, const std::string& text, const std::string& load = {})
    {
        Case read;
        std::string error;
        EXPECT_TRUE(ReadCase(text, "example", read, error)) << error;
        if (!load.empty())
            read.h = load;
        return CalculateDesign(command, CaseInputs(read, "1"), CaseFactorSet(read));
    }

    // latcap's figure for a row, to one decimal more than the published one.
    std::string Figure(const Example& row)
    {
        double value = 0;
        if (row.method == "ultimate load") {
            // The load H whose moment H e the pile of depth L just carries:
            // Calc M's moment falls and H e grows as H grows.
            const double e = std::stod(row.height);
            double lo = 0, hi = 1000;
            Calculation at;
            for (int i = 0; i < 60; ++i) {
                const double h = 0.5 * (lo + hi);
                at = RunCase(Command::CalcM, row.caseText, ShortestText(h));
                (double(at.state->CSF) * at.state->M > e * h ? lo : hi) = h;
            }
            value = row.quantity == "Zr" ? at.state->Zr : 0.5 * (lo + hi);
        } else if (row.method == "design value") {
            // What the analysis takes: the first layer's friction angle or
            // cohesion, or H after CSF and the factors.
            const Calculation calc = RunCase(Command::CalcL, row.caseText);
            const LayerType& layer = calc.state->Layer[1];
            value = row.quantity == "φ d" ? double(layer.Phi) * 180.0 / double(kPi)
                : row.quantity == "H d"   ? double(calc.state->H)
                                          : double(layer.C);
        } else if (row.method == "rigidity") {
            const Calculation calc = RunCase(Command::CalcL, row.caseText);
            EXPECT_TRUE(calc.rigidity.checked);
            value = calc.rigidity.checked ? calc.rigidity.criteria.front().length : 0.0;
        } else {
            const BromsResult broms = BromsCrossCheck(RunCase(Command::CalcL, row.caseText));
            EXPECT_TRUE(broms.applicable) << broms.reason;
            value = row.quantity == "L" ? broms.depth : broms.maxMoment;
        }
        const std::size_t point = row.published.find('.');
        const std::size_t decimals = point == std::string::npos ? 0 : row.published.size() - point - 1;
        return FormatMask(value, "0." + std::string(decimals + 1, '0'));
    }

    class Verification : public ::testing::TestWithParam<Example> { };

    TEST_P(Verification, FigureStaysAsKept) { EXPECT_EQ(Figure(GetParam()), GetParam().kept); }

    INSTANTIATE_TEST_SUITE_P(Engine, Verification, ::testing::ValuesIn(Examples()), testing::CaseName());

    // The verification page shows the kept table as it stands.
    TEST(Verification, PageHoldsTheTable)
    {
        std::string table = "| Example | Source | Quantity | Published | latcap | Difference | Note |\n"
                            "|---|---|---|---|---|---|---|\n";
        for (const Example& row : Examples()) {
            const double difference = (std::stod(row.kept) / std::stod(row.published) - 1) * 100;
            table += "| " + row.example + " | " + row.source + " | " + row.quantity + " [" + row.unit + "] | "
                + row.published + " | " + row.kept + " | " + FormatMask(difference, "0.0") + " % | " + row.note
                + " |\n";
        }
        const std::string page = testing::ReadFile(LATCAP_SOURCE_DIR "/docs/verification.md");
        EXPECT_NE(page.find(table), std::string::npos) << "docs/verification.md should hold:\n" << table;
    }

} // namespace
} // namespace latcap
