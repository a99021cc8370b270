#pragma once

#include "Platform.h"
#include "SaveFile.h"

#include <QString>

class QWidget;

namespace latcap {

// What the save dialog shows for one save command; the filter is a list of
// name|pattern pairs as Platform::getSaveFileName takes it. A suffix such as
// "pdf" is added to a typed name that has none.
struct SaveRequest {
    QString title;
    QString filter;
    QString initialName;
    QString suffix = {};
    QString keep = {}; // a file this save never replaces: the case file in use
};

// Saves path and, when that fails, shows the reason in a message box titled
// "Error" that names the file. Returns true when the file was saved.
bool SaveReportingFailure(Platform& platform, QWidget* parent, const QString& path, const DeviceWriter& write);

// A save command: asks for a name in the save dialog, asks before replacing an
// existing file, saves under the name as typed (with the request's suffix
// when it has none) and reports a failure. Cancel anywhere writes nothing and
// shows nothing. The request's keep file is refused with a message. Returns
// true when the file was saved, its path in savedPath.
bool SaveThroughDialog(Platform& platform, QWidget* parent, const SaveRequest& request, const DeviceWriter& write,
    QString* savedPath = nullptr);

} // namespace latcap
