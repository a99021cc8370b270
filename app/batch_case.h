#pragma once

#include "CaseFile.h"

#include <QString>

#include <string>

namespace latcap::batch {

// Reads the case file at path; every number value must be empty or wholly a
// number. On failure returns false with a message that names the file, the
// line and what is wrong.
bool LoadCase(const QString& path, Case& result, QString& error);

// The CSF the window starts with: line 2 of Latcap.ini in the working
// directory, byte for byte, or "0.5" without that file or line. fromIni (if
// given) tells which. A line that is neither empty nor wholly a number fails
// as in a case file, naming the file and the line.
bool StartCsf(std::string& csf, QString& error, bool* fromIni = nullptr);

} // namespace latcap::batch
