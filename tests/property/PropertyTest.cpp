#include "CalcSheet.h"
#include "Calculation.h"
#include "CaseFile.h"
#include "DesignCheck.h"
#include "NumberText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace latcap {
namespace {

    // A pile in layered soil as an engineer would type it into the window.
    struct Pile {
        std::size_t layers = 1;
        InputTexts texts;
        std::string description;
    };

    // Piles from a fixed seed, so that a failing one repeats: one to five layers
    // of sand, clay or c-phi soil, width 0.3 to 1.5 m, CSF 0.5 to 1.5, load and
    // moment 0 to 500, and a depth, so that every pile passes validation.
    const std::vector<Pile>& Piles()
    {
        static const std::vector<Pile> piles = [] {
            std::mt19937 engine(20261206u);
            // Mapped by hand: the library's distributions differ between standard libraries.
            auto draw = [&engine](double lo, double hi, int decimals) {
                char text[32];
                std::snprintf(text, sizeof text, "%.*f", decimals, lo + (hi - lo) * (double(engine()) / 4294967296.0));
                return std::string(text);
            };
            // Unit weight, cohesion and friction angle ranges of sand, clay and c-phi soil.
            const double soils[3][6]
                = { { 16, 21, 0, 0, 25, 40 }, { 15, 20, 10, 100, 0, 0 }, { 16, 21, 5, 30, 15, 30 } };
            std::vector<Pile> all(LATCAP_PROPERTY_CASES);
            for (Pile& pile : all) {
                Case source;
                pile.layers = 1 + engine() % kMaxLayers;
                source.layerCount = static_cast<int>(pile.layers);
                source.csf = draw(0.5, 1.5, 2);
                source.h = draw(0, 500, 1);
                source.m = engine() % 10 == 0 ? "0" : draw(0, 500, 1);
                source.l = draw(0.5, 8, 2);
                const std::string width = draw(0.3, 1.5, 2);
                for (std::size_t i = 0; i < pile.layers; ++i) {
                    const double* soil = soils[engine() % 3];
                    // The deepest bottom is the window's fixed 100 m.
                    const double top = i == 0 ? 0.0 : std::stod(source.layers[i - 1].to);
                    source.layers[i] = { "", i + 1 == pile.layers ? "" : draw(top + 0.5, top + 4, 1),
                        draw(soil[0], soil[1], 1), draw(soil[2], soil[3], 0), draw(soil[4], soil[5], 0), width };
                }
                const InputTexts& t = pile.texts = CaseInputs(source, "");
                pile.description
                    = "CSF " + t.csf + ", H " + t.h + ", M " + t.m + ", L " + t.l + ", D " + width + "; layers";
                for (std::size_t i = 0; i < pile.layers; ++i)
                    pile.description += " to " + t.layers[i].to + " m, gamma/c/phi " + t.layers[i].gama + "/"
                        + t.layers[i].c + "/" + t.layers[i].phi;
            }
            return all;
        }();
        return piles;
    }

    // A command run on a pile's texts as the window and latcap-batch run it.
    struct PileRun {
        PileRun(const InputTexts& texts, bool calcL)
            : calc(Calculate(calcL ? Command::CalcL : Command::CalcM, texts))
            , state(*calc.state)
        {
            EXPECT_TRUE(calc.dataOk) << "generated piles are complete";
            EXPECT_FALSE(calc.outcome.arithmeticProblem);
        }
        bool converged() const { return calc.Status() == CalcStatus::Converged; }

        Calculation calc;
        const AnalysisState& state;
    };

    TEST(GeneratedPiles, EndInEquilibriumWithFiniteResults)
    {
        int found = 0;
        for (const Pile& pile : Piles()) {
            SCOPED_TRACE(pile.description);
            for (bool calcL : { true, false }) {
                const PileRun run(pile.texts, calcL);
                if (!run.converged())
                    continue;
                const AnalysisState& s = run.state;
                found += calcL;
                EXPECT_LE(std::fabs(double(s.H) - (double(s.ForceAbove) - s.ForceBelow)), 0.1 + 1e-6 * std::fabs(s.H));
                EXPECT_LE(std::fabs(double(s.Zr) * s.H + s.M - s.SoilMoment), 0.1 + 1e-6 * std::fabs(s.SoilMoment));
                EXPECT_TRUE(std::isfinite(s.Zr) && std::isfinite(ShownMaxMoment(s)) && std::isfinite(ShownMaxShear(s)));
                EXPECT_TRUE(!calcL || (s.LCalc > 0.0f && s.LCalc < 50.0f)) << s.LCalc;
            }
        }
        EXPECT_GE(found, static_cast<int>(Piles().size()) / 2) << "most realistic piles are found";
    }

    // Short piles under large loads give results outside the method, and
    // loads within the solvers' tolerance no equilibrium; none of them may
    // pass for a converged one.
    TEST(GeneratedPiles, ConvergedOnlyWithinTheMethod)
    {
        int invalid = 0;
        for (const Pile& pile : Piles()) {
            SCOPED_TRACE(pile.description);
            for (bool calcL : { true, false }) {
                const PileRun run(pile.texts, calcL);
                const AnalysisState& s = run.state;
                const float depth = run.calc.Depth();
                const bool withinMethod = std::isfinite(depth) && depth > 0.0f && s.Zr > 0.0f && s.Zr < depth
                    && (calcL || s.M >= 0.0f) && (run.calc.outcome.iterationProblem || EquilibriumCheck(s).Resolved());
                EXPECT_EQ(run.calc.validity.empty(), withinMethod) << run.calc.validity;
                if (run.converged()) {
                    EXPECT_TRUE(withinMethod) << "Zr " << s.Zr << ", L " << depth << ", M " << s.M;
                }
                invalid += !withinMethod;
            }
        }
        EXPECT_GT(invalid, 0) << "some generated piles are too short for their load";
    }

    // Within the solver's tolerance and what rounding the depth shown to three
    // decimals changes.
    TEST(GeneratedPiles, CalcMOnTheDepthFoundGivesBackTheMoment)
    {
        int compared = 0;
        for (const Pile& pile : Piles()) {
            SCOPED_TRACE(pile.description);
            const PileRun depthRun(pile.texts, true);
            if (!depthRun.converged())
                continue;
            bool converged = true;
            // The moment (as shown) that Calc M finds for a pile of the given depth.
            auto momentAt = [&](double depth) {
                InputTexts texts = pile.texts;
                texts.l = FormatMask(depth, "##0.0000");
                const PileRun run(texts, false);
                converged = converged && run.converged();
                return double(run.state.CSF) * run.state.M;
            };
            const double depth = ReadNumber(depthRun.calc.outcome.answer);
            const double found = momentAt(depth), below = momentAt(depth - 0.0005), above = momentAt(depth + 0.0005);
            if (!converged)
                continue;
            ++compared;
            const double tolerance = std::max(std::fabs(below - found), std::fabs(above - found))
                + 0.1 * ReadNumber(pile.texts.csf) + 1e-5 * std::fabs(found);
            EXPECT_NEAR(found, ReadNumber(pile.texts.m), tolerance)
                << "depth " << depth << ", moments 0.0005 m either side " << below << ", " << above;
        }
        EXPECT_GT(compared, 0);
    }

    // Over a few loads on the same soil and moment, on a quarter of the piles.
    TEST(GeneratedPiles, LargerLateralLoadNeverNeedsShorterPile)
    {
        for (std::size_t n = 0; n < Piles().size(); n += 4) {
            SCOPED_TRACE(Piles()[n].description);
            InputTexts texts = Piles()[n].texts;
            texts.m = ReadNumber(texts.m) == 0.0 ? "50" : texts.m;
            double lastDepth = 0.0;
            for (const char* load : { "0", "60", "180", "420" }) {
                texts.h = load;
                const PileRun run(texts, true);
                if (!run.converged())
                    break;
                EXPECT_GE(run.state.LCalc, lastDepth) << "H " << load;
                lastDepth = run.state.LCalc;
            }
        }
    }

    // The check's depth required is where it passes: a check there says OK and
    // one 2 mm shallower NOT OK; on a third of the piles with a lateral load.
    TEST(GeneratedPiles, CheckPassesFromItsDepthRequired)
    {
        int compared = 0;
        for (std::size_t n = 0; n < Piles().size(); n += 3) {
            const Pile& pile = Piles()[n];
            SCOPED_TRACE(pile.description);
            if (!(ReadNumber(pile.texts.h) > 0.0))
                continue;
            const DesignCheck check = CheckDesign(pile.texts);
            if (!check.judged || !(check.depthRequired > 0.002))
                continue;
            ++compared;
            InputTexts texts = pile.texts;
            texts.l = FormatMask(check.depthRequired, "##0.000");
            EXPECT_TRUE(CheckDesign(texts).ok) << "at the depth required " << texts.l;
            texts.l = FormatMask(check.depthRequired - 0.002, "##0.000");
            EXPECT_FALSE(CheckDesign(texts).ok) << "2 mm shallower, at " << texts.l;
        }
        EXPECT_GT(compared, 0);
    }

} // namespace
} // namespace latcap
