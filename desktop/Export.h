#pragma once

#include "AnalysisState.h"
#include "Platform.h"

class QWidget;

namespace latcap {

// The "Export Calc Details" command: asks for a file in the save dialog,
// asks before replacing an existing file, and writes the slice table of the
// last calculation into it. Cancel anywhere writes nothing and shows nothing;
// a file that cannot be written is reported and left as it was. Returns true
// when the file was written. The case file in use is never replaced.
bool ExportCalcDetails(Platform& platform, QWidget* parent, const AnalysisState& state, const QString& caseInUse = {});

} // namespace latcap
