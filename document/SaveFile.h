#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace latcap {

// Writes the file's contents into the open device; returns false when they
// could not all be written, with the reason in error when the device gives
// none.
using DeviceWriter = std::function<bool(QIODevice& device, QString& error)>;

// Saves path through a temporary file that replaces the target only when the
// writer finished and everything reached the disk, so an existing file is
// either fully replaced or left as it was. On failure returns false and puts
// a message naming the file and the reason into error.
bool SaveFileAtomically(const QString& path, const DeviceWriter& write, QString& error);

// A writer of ready-made bytes.
DeviceWriter BytesWriter(QByteArray bytes);

} // namespace latcap
