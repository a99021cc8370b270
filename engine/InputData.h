#pragma once

#include "AnalysisState.h"

#include <array>
#include <string>
#include <vector>

namespace latcap {

// The texts of one layer row as typed, named as the layer's fields
// (LayerType): its top and bottom depth [m], unit weight [kN/m3], cohesion
// [kPa], friction angle [degrees] and width [m]. A case file gives no top:
// the tops follow from the bottoms above (CaseInputs).
struct LayerTexts {
    std::string from;
    std::string to;
    std::string gama;
    std::string c;
    std::string phi;
    std::string d;
    bool operator==(const LayerTexts&) const = default;
};

// The texts of every input box of the window, and how many layer rows are in
// use (1 to kMaxLayers); rows beyond that count are not read.
struct InputTexts {
    std::string csf;
    std::string h;
    std::string m;
    std::string l;
    int layerCount = 1;
    std::array<LayerTexts, kMaxLayers> layers;
    // The pile's bending stiffness EI [kNm2] and the soil's modulus of
    // horizontal subgrade reaction, nh [kN/m3] growing with depth or k
    // [kN/m3] constant with depth; empty when not given. With EI the pile is
    // judged rigid or not (Rigidity.h).
    std::string ei;
    std::string nh;
    std::string k;
};

// The two calculation commands: the depth for H and M, or the moment that a
// pile of depth L carries with H.
enum class Command { CalcL, CalcM };

// Friction angle in degrees to radians with the program's pi, rounded once.
float DegreesToRadians(double degrees);

// The boxes a problem with the inputs can be found in.
enum class InputBox { None, Csf, H, M, L, To, Gama, C, Phi, D, Ei, Nh, K };

// Why the inputs are not enough to calculate: the first failing box, in the
// order of the window (CSF, H, M, L, then the layers from the top, each from
// its bottom to its width), and the reason in plain words, e.g.
// "Layer 2: bottom 1.5 m is above its top 2 m".
struct InputProblem {
    InputBox box = InputBox::None;
    int row = -1; // the layer row from 0, for the layer boxes
    std::string reason;
};

// Reads the boxes into the state: CSF, M and H divided by CSF, L, and layers
// 1 to NoLayers (set by the caller) from rows 0 to NoLayers - 1, then validates them for the
// command. Returns true when the data are good enough to
// calculate; the state is written either way. When they are not, problem (if
// given) says why. Besides a CSF, widths and bottoms greater than 0 and soil
// with some strength, Calc M needs a depth L greater than 0, Calc L a moment
// or a depth, and no layer may have a negative unit weight, cohesion or
// friction angle. EI, nh and k, each when given, must be greater than 0, and
// EI needs nh or k beside it (after the layers in the order of problems).
bool GatherInputs(const InputTexts& texts, AnalysisState& state, Command command, InputProblem* problem = nullptr);

// A box whose text the number rule plainly reads otherwise than typed (see
// NumberReading::misread), named as a reader knows it, e.g. "H" or
// "Layer 2 cohesion".
struct MisreadBox {
    std::string name;
    std::string text;
    double value = 0; // what the calculation used
};

// The misread boxes among CSF, H, M, L and the boxes of the rows in use, in
// the window's order.
std::vector<MisreadBox> MisreadBoxes(const InputTexts& texts);

// `H: "27,5" read as 27`.
std::string MisreadNote(const MisreadBox& box);

} // namespace latcap
