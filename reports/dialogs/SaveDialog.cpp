#include "SaveDialog.h"

#include "Messages.h"

#include <QFileInfo>

namespace latcap {

bool SaveReportingFailure(Platform& platform, QWidget* parent, const QString& path, const DeviceWriter& write)
{
    QString error;
    if (SaveFileAtomically(path, write, error))
        return true;
    platform.showMessage(parent, QString::fromLatin1(text::kErrorTitle), error, Platform::Buttons::Ok);
    return false;
}

bool SaveThroughDialog(
    Platform& platform, QWidget* parent, const SaveRequest& request, const DeviceWriter& write, QString* savedPath)
{
    QString path = platform.getSaveFileName(parent, request.title, request.filter, request.initialName);
    if (path.isEmpty())
        return false;
    if (!request.suffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + request.suffix;
    if (QFileInfo(path).isFile()
        && platform.showMessage(parent, QString::fromLatin1(text::kWarningTitle),
               QString::fromLatin1(text::kReplaceFile), Platform::Buttons::OkCancel)
            != Platform::Answer::Ok)
        return false;
    if (!SaveReportingFailure(platform, parent, path, write))
        return false;
    if (savedPath)
        *savedPath = path;
    return true;
}

} // namespace latcap
