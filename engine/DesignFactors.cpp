#include "DesignFactors.h"

#include "CaseFile.h"
#include "NumberText.h"

#include <cctype>
#include <cmath>
#include <numbers>

namespace latcap {
namespace {

    constexpr const char* kAnnexA = "EN 1997-1:2004 Annex A, recommended values: ";

    // The sets' combinations in sets A (Table A.3), M (Table A.4) and R
    // (Table A.13, earth resistance).
    struct Partial {
        const char* name;
        const char* sets;
        PartialFactors factors;
    };
    const Partial kDA1_1 { "EN 1997-1 DA1-1", "A1 (Table A.3), M1 (Table A.4), R1 (Table A.13)", { 1.5, 1.0 } };
    const Partial kDA1_2 { "EN 1997-1 DA1-2", "A2 (Table A.3), M2 (Table A.4), R1 (Table A.13)",
        { 1.3, 1.0, 1.25, 1.25, 1.4, 1.0 } };
    const Partial kDA2 { "EN 1997-1 DA2", "A1 (Table A.3), M1 (Table A.4), R2 (Table A.13)", { 1.5, 1.4 } };
    const Partial kDA3 { "EN 1997-1 DA3", "A1 (Table A.3), M2 (Table A.4), R3 (Table A.13)",
        { 1.5, 1.0, 1.25, 1.25, 1.4, 1.0 } };

    FactorCombination Of(const Partial& partial)
    {
        return { partial.name, kAnnexA + std::string(partial.sets), partial.factors };
    }

    // The text of value / factor, or the text itself when the factor is 1.
    std::string Divided(const std::string& text, double factor)
    {
        return factor == 1.0 ? text : ShortestText(ReadNumber(text) / factor);
    }

} // namespace

const std::vector<std::string>& FactorSetNames()
{
    static const std::vector<std::string> names { "none", "EN 1997-1 DA1", "EN 1997-1 DA1-1", "EN 1997-1 DA1-2",
        "EN 1997-1 DA2", "EN 1997-1 DA3", "custom" };
    return names;
}

std::string FactorSetName(std::string_view text)
{
    const std::string wanted = NormalText(text);
    for (const std::string& name : FactorSetNames()) {
        if (NormalText(name) == wanted)
            return name;
    }
    return {};
}

FactorSet CaseFactorSet(const Case& source)
{
    FactorSet set;
    if (source.factors)
        set.name = *source.factors;
    double* const numbers[]
        = { &set.custom.load, &set.custom.resistance, &set.custom.tanPhi, &set.custom.cohesion, &set.custom.undrained };
    for (std::size_t i = 0; i < source.customFactors.size(); ++i) {
        const auto& text = source.customFactors[i];
        if (text && !ReadNumberText(*text).empty)
            *numbers[i] = ReadNumber(*text);
    }
    return set;
}

std::vector<FactorCombination> Combinations(const FactorSet& set)
{
    if (set.name == "EN 1997-1 DA1")
        return { Of(kDA1_1), Of(kDA1_2) };
    for (const Partial* partial : { &kDA1_1, &kDA1_2, &kDA2, &kDA3 }) {
        if (set.name == partial->name)
            return { Of(*partial) };
    }
    if (set.name == "custom")
        return { { "custom", "the case's own factors (custom)", set.custom } };
    return { FactorCombination {} };
}

std::string FactorsInUse(const FactorSet& set, const FactorCombination& governing)
{
    if (set.None())
        return {};
    return set.name + (set.name == governing.name ? "" : ", governed by " + governing.name);
}

std::string FactorProblem(const FactorCombination& combination)
{
    const PartialFactors& f = combination.factors;
    for (const auto& [value, name] : { std::pair { f.load, "load factor" }, { f.resistance, "resistance factor" },
             { f.tanPhi, "tan phi factor" }, { f.cohesion, "cohesion factor" },
             { f.undrained, "undrained strength factor" }, { f.unitWeight, "unit weight factor" } }) {
        if (!(value > 0.0) || !std::isfinite(value))
            return "The " + std::string(name) + " must be a number greater than 0";
    }
    return {};
}

double DesignFrictionAngle(double degrees, double factor)
{
    constexpr double toRadians = std::numbers::pi / 180.0;
    return std::atan(std::tan(degrees * toRadians) / factor) / toRadians;
}

InputTexts DesignInputs(const InputTexts& given, const PartialFactors& factors)
{
    InputTexts design = given;
    design.csf = Divided(given.csf, factors.OnLoads());
    for (int i = 0; i < given.layerCount && i < kMaxLayers; ++i) {
        LayerTexts& row = design.layers[static_cast<std::size_t>(i)];
        const double phi = ReadNumber(row.phi);
        // A layer without friction is clay whose cohesion is its undrained strength.
        row.c = Divided(row.c, phi == 0.0 ? factors.undrained : factors.cohesion);
        if (factors.tanPhi != 1.0 && phi > 0.0 && phi < 90.0)
            row.phi = ShortestText(DesignFrictionAngle(phi, factors.tanPhi));
        row.gama = Divided(row.gama, factors.unitWeight);
    }
    return design;
}

} // namespace latcap
