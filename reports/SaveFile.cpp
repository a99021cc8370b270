#include "SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace latcap {

bool SaveFileAtomically(const QString& path, const std::string& bytes, QString& error)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    auto fail = [&](const QString& reason) {
        error = QStringLiteral("The file %1 could not be written: %2").arg(shown, reason);
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("it is a folder."));
    const auto size = static_cast<qint64>(bytes.size());
    if (info.exists() && !info.isFile()) {
        // A device or a pipe cannot be replaced by renaming a temporary file
        // over it (and with enough rights that would destroy it), so it is
        // written directly.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return fail(device.errorString() + QLatin1Char('.'));
        if (device.write(bytes.data(), size) != size || !device.flush())
            return fail(device.errorString() + QLatin1Char('.'));
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString() + QLatin1Char('.'));
    if (file.write(bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason + QLatin1Char('.'));
    }
    if (!file.commit())
        return fail(file.errorString() + QLatin1Char('.'));
    return true;
}

} // namespace latcap
