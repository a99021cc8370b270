#pragma once

#include "AnalysisState.h"
#include "InputData.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace latcap {

// Who and what a calculation is for, as typed; each may be empty.
struct JobDetails {
    std::string project;
    std::string job; // the job number
    std::string client;
    std::string engineer;
    std::string checker;
    std::string revision;

    bool Empty() const;
    // The details with their names ("Project", "Job", ...), in this order.
    std::vector<std::pair<std::string, std::string>> Named() const;
    bool operator==(const JobDetails&) const = default;
};

// A case as its file gives it: the texts of the window's boxes, a missing key
// being an empty box. Layer lines beyond layerCount are kept but not used,
// like hidden layer rows.
struct Case {
    std::string title; // the window's free title line; no input
    JobDetails job; // no input either
    std::optional<std::string> csf; // no CSF line: the window's start value applies
    std::string h;
    std::string m;
    std::string l;
    // The pile's stiffness and the soil's moduli, judging whether the pile is
    // rigid (InputTexts); empty when not given, and then not written.
    std::string ei; // EI [kNm2]
    std::string nh; // [kN/m3], growing with depth
    std::string k; // [kN/m3], constant with depth
    int layerCount = 1;
    // The layer lines: bottom, unit weight, cohesion, friction angle and
    // width, in the order they are written. A case gives no tops (from):
    // CaseInputs chains them.
    std::array<LayerTexts, kMaxLayers> layers;
    std::array<bool, kMaxLayers> layerGiven {}; // the case has this layer's line (or a field of it)
    // The partial factors of a design code (see DesignFactors.h): the set's
    // name as given, none when the case has no `factors` line, and the
    // numbers of `custom` in the order of kCustomFactorKeys, each absent
    // when not given.
    std::optional<std::string> factors;
    std::array<std::optional<std::string>, 5> customFactors;
};

// The keys of the custom factors: load, resistance, tan phi, cohesion and
// undrained strength factor.
inline constexpr const char* kCustomFactorKeys[5]
    = { "load factor", "resistance factor", "tan phi factor", "cohesion factor", "undrained strength factor" };

// Reads a case file: one `key = value` per line, keys in any case, `#` starts
// a comment, blank lines are skipped. Keys are title, the job details
// (project, job, client, engineer, checker, revision), CSF, H, M, L, EI, nh, k,
// layers (1 to 5), `layer N` (N from 1 to 5) with five comma-separated fields,
// factors (a name of FactorSetNames, in any case) and the custom factors
// (kCustomFactorKeys). On failure
// returns false and puts "fileName:line: what is wrong" into error.
// With CaseNumbers::Strict every number value must be empty or wholly a
// number, blanks aside ("1e3", "+4" and "-0.5" are; "5,5" and "25 kPa" are
// not); otherwise values are kept as typed, as the window keeps its boxes. A
// value may be put between double quotes ("" for a quote), so that commas,
// '#' and blanks at either end are kept.
enum class CaseNumbers { AsTyped, Strict };
bool ReadCase(std::string_view content, std::string_view fileName, Case& result, std::string& error,
    CaseNumbers numbers = CaseNumbers::AsTyped);

// Sets one value of a case as if its file said so: any key of the file, or a
// single field of a layer such as `layer 2.cohesion`. Field names are bottom,
// unit weight (or gamma), cohesion (or c), friction angle (or phi) and width
// (or d). On failure returns false and explains why in error.
bool SetCaseValue(Case& result, std::string_view key, std::string_view value, std::string& error,
    CaseNumbers numbers = CaseNumbers::AsTyped);

// Whether key names a value that holds a single number (everything but a
// whole layer line). Sets error when it does not.
bool IsSingleNumberKey(std::string_view key, std::string& error);

// The key in its own spelling, whatever the case, blanks or other name it
// is given by: "layer 2.friction angle" for "Layer  2.PHI", "h" for "H";
// empty for a text that is no key.
std::string CaseKeyName(std::string_view key);

// The unit of the value a key names, e.g. "kN" for H or "kPa" for
// `layer 2.cohesion`; empty for CSF, layers and unknown keys.
std::string CaseKeyUnit(std::string_view key);

// The text of a case file that reads back as source: every key (the job
// details, factors, the custom factors, EI, nh and k only when given), the layers 1 to layerCount and any further
// layer the case gives, values quoted where they must be, and each of comments as a comment line at the end.
std::string WriteCase(const Case& source, const std::vector<std::string>& comments = {});

// The texts of the window's boxes for a case, with its layer count, chained as
// the layer rows chain them: the top of layer 1 is "0", the top of layer N + 1
// is the bottom text of layer N, and the bottom of the deepest layer is "100".
// defaultCsf is the CSF text when the case has none.
InputTexts CaseInputs(const Case& source, std::string_view defaultCsf);

} // namespace latcap
