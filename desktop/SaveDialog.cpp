#include "SaveDialog.h"

#include "DialogTexts.h"

#include <QDir>
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
    const QFileInfo chosen(path), kept(request.keep);
    if (!request.keep.isEmpty()
        && (chosen.exists() && kept.exists() ? chosen.canonicalFilePath() == kept.canonicalFilePath()
                                             : chosen.absoluteFilePath() == kept.absoluteFilePath())) {
        platform.showMessage(parent, QString::fromLatin1(text::kErrorTitle),
            QStringLiteral("The file %1 is the case file in use; it is not replaced by this one. Choose another name.")
                .arg(QDir::toNativeSeparators(chosen.absoluteFilePath())),
            Platform::Buttons::Ok);
        return false;
    }
    if (chosen.isFile()
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
