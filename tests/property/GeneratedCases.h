#pragma once

#include "InputData.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace latcap::testing {

// A pile in layered soil as an engineer would type it into the window.
struct GeneratedCase {
    int number = 0;
    int layers = 1;
    InputTexts texts;
    std::string description;
};

// Realistic cases from a fixed seed, so that a failing case repeats: one to
// five layers of sand, clay or c-phi soil, pile width 0.3 to 1.5 m, CSF 0.5
// to 1.5, lateral load 0 to 500 kN and moment 0 to 500 kNm. The moment box is
// never left at zero without a depth, so every case passes validation.
std::vector<GeneratedCase> GenerateCases(int count, std::uint32_t seed = 20261206u);

} // namespace latcap::testing
