#pragma once

#include "AnalysisState.h"

#include <array>
#include <string>

namespace latcap {

// The texts of one layer row as the user typed them.
struct LayerTexts {
    std::string from;
    std::string to;
    std::string gama;
    std::string c;
    std::string phi; // degrees
    std::string d;
};

// The texts of every input box of the window.
struct InputTexts {
    std::string csf;
    std::string h;
    std::string m;
    std::string l;
    std::array<LayerTexts, kMaxLayers> layers;
};

// Friction angle in degrees to radians with the program's pi, rounded once.
float DegreesToRadians(double degrees);

// Reads the boxes into the state: CSF, M and H divided by CSF, L, and layers
// 1 to NoLayers from rows 0 to NoLayers - 1, then validates them and sets
// DataOK. Returns true when the data are good enough to calculate; the state
// is written either way.
bool GatherInputs(const InputTexts& texts, AnalysisState& state);

} // namespace latcap
