#pragma once

#include "Platform.h"

#include <QString>

class QWidget;

namespace latcap {

// Writes KqTable.CSV and then KcTable.CSV into `directory`, replacing files
// of those names without a question. A file that cannot be written is
// reported and left as it was, and nothing further is written. Returns true
// when both files were written.
bool SaveCoefficientTables(Platform& platform, QWidget* parent, const QString& directory);

} // namespace latcap
