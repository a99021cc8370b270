#pragma once

#include "AnalysisState.h"

#include <array>

class QLabel;
class QLineEdit;
class QWidget;

namespace latcap {

class DropDownList;

// The control arrays of the layer rows; the row with index i shows layer
// i + 1.
struct LayerRows {
    std::array<QLabel*, kMaxLayers> lblLayerNo {};
    std::array<QLineEdit*, kMaxLayers> txtFrom {};
    std::array<QLineEdit*, kMaxLayers> txtTo {};
    std::array<QLineEdit*, kMaxLayers> txtGama {};
    std::array<QLineEdit*, kMaxLayers> txtC {};
    std::array<DropDownList*, kMaxLayers> selectFrictionAngle {};
    std::array<QLineEdit*, kMaxLayers> txtD {};
};

// Makes rows 1 to 4 as copies of row 0 of the form: its look, one row
// pitch below each other, hidden, each element named like "txtTo_2" and
// taking its turn in the focus order right after the row above. Every row's
// friction angle list holds 0 to 45 degrees by 5, its first item chosen.
void CloneLayerRows(QWidget* form, LayerRows& rows);

} // namespace latcap
