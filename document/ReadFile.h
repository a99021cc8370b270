#pragma once

#include <QByteArray>
#include <QString>

namespace latcap {

// Reads a case file or Latcap.ini whole. Only a regular file of at most
// 1 MB is read; one that has grown past that since it was looked at is
// refused, never cut. A name whose bytes are not UTF-8 reaches here with
// U+FFFD in their place; it is found in its folder by the name it shows.
// On failure returns false and puts the reason into reason: "it is a
// folder", "Permission denied", "it is larger than 1 MB (...)".
bool ReadSmallFile(const QString& path, QByteArray& content, QString& reason);

// The bytes of the file name path stands for: its UTF-8, or, when no such
// file exists and the name shows U+FFFD, the one entry of its folder whose
// name shows the same.
QByteArray NativeFileName(const QString& path);

} // namespace latcap
