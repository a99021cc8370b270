#include "GeneratedCases.h"

#include <cstdio>
#include <random>

namespace latcap::testing {
namespace {

// A box text with the given number of decimals, as typed.
std::string Typed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}

    // Mapped by hand rather than by the library's distributions, whose
    // results differ between standard libraries.
    double Between(double lo, double hi) { return lo + (hi - lo) * (double(engine_()) / 4294967296.0); }
    int Between(int lo, int hi) { return lo + static_cast<int>(engine_() % static_cast<std::uint32_t>(hi - lo + 1)); }

private:
    std::mt19937 engine_;
};

enum class Soil { Sand, Clay, CPhi };

const char* SoilName(Soil soil)
{
    switch (soil) {
    case Soil::Sand: return "sand";
    case Soil::Clay: return "clay";
    case Soil::CPhi: return "c-phi";
    }
    return "";
}

} // namespace

std::vector<GeneratedCase> GenerateCases(int count, std::uint32_t seed)
{
    Draw draw(seed);
    std::vector<GeneratedCase> cases;
    for (int n = 0; n < count; ++n) {
        GeneratedCase c;
        c.number = n;
        c.layers = draw.Between(1, kMaxLayers);
        InputTexts& t = c.texts;
        t.csf = Typed(draw.Between(0.5, 1.5), 2);
        t.h = Typed(draw.Between(0.0, 500.0), 1);
        t.m = Typed(draw.Between(0.0, 500.0), 1);
        t.l = Typed(draw.Between(0.5, 8.0), 2);
        if (draw.Between(0, 9) == 0)
            t.m = "0"; // a pure lateral load; the depth box keeps validation happy
        const std::string width = Typed(draw.Between(0.3, 1.5), 2);

        c.description = "CSF " + t.csf + ", H " + t.h + ", M " + t.m + ", L " + t.l + ", D " + width + ";";
        double bottom = 0.0;
        for (int i = 0; i < c.layers; ++i) {
            LayerTexts& row = t.layers[static_cast<std::size_t>(i)];
            row.from = i == 0 ? "0" : t.layers[static_cast<std::size_t>(i - 1)].to;
            bottom += draw.Between(0.5, 4.0);
            row.to = i == c.layers - 1 ? "100" : Typed(bottom, 1);
            row.d = width;
            const auto soil = static_cast<Soil>(draw.Between(0, 2));
            switch (soil) {
            case Soil::Sand:
                row.gama = Typed(draw.Between(16.0, 21.0), 1);
                row.c = "0";
                row.phi = Typed(draw.Between(25, 40), 0);
                break;
            case Soil::Clay:
                row.gama = Typed(draw.Between(15.0, 20.0), 1);
                row.c = Typed(draw.Between(10.0, 100.0), 0);
                row.phi = "0";
                break;
            case Soil::CPhi:
                row.gama = Typed(draw.Between(16.0, 21.0), 1);
                row.c = Typed(draw.Between(5.0, 30.0), 0);
                row.phi = Typed(draw.Between(15, 30), 0);
                break;
            }
            c.description += " " + std::string(SoilName(soil)) + " " + row.from + ".." + row.to + " m (gamma "
                             + row.gama + ", c " + row.c + ", phi " + row.phi + ")";
        }
        cases.push_back(std::move(c));
    }
    return cases;
}

} // namespace latcap::testing
