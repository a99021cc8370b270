#pragma once

#include <QString>

#include <string>

namespace latcap {

// Writes bytes to path through a temporary file that replaces the target
// only when everything was written, so an existing file is either fully
// replaced or left as it was. On failure returns false and puts a message
// naming the file and the reason into error.
bool SaveFileAtomically(const QString& path, const std::string& bytes, QString& error);

} // namespace latcap
