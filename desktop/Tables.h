#pragma once

#include "AnalysisState.h"
#include "Platform.h"

#include <QString>

class QWidget;

namespace latcap {

// Writes KqTable.CSV from state.KqTable and then KcTable.CSV from
// state.KcTable into `directory` (the working directory when empty),
// replacing files of those names without a question. A file that cannot be
// written is reported and left as it was, and nothing further is written.
// Returns true when both files were written.
bool SaveCoefficientTables(Platform& platform, QWidget* parent, const AnalysisState& state, const QString& directory);

} // namespace latcap
