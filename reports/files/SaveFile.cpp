#include "SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace latcap {

bool SaveFileAtomically(const QString& path, const DeviceWriter& write, QString& error)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    auto fail = [&](const QString& reason) {
        error = QStringLiteral("The file %1 could not be written: %2.").arg(shown, reason);
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("it is a folder"));
    QString reason;
    if (info.exists() && !info.isFile()) {
        // A device or a pipe cannot be replaced by renaming a temporary file
        // over it (and with enough rights that would destroy it), so it is
        // written directly.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return fail(device.errorString());
        if (!write(device, reason) || !device.flush())
            return fail(reason.isEmpty() ? device.errorString() : reason);
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (!write(file, reason)) {
        if (reason.isEmpty())
            reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

DeviceWriter BytesWriter(QByteArray bytes)
{
    return [bytes = std::move(bytes)](QIODevice& device, QString&) { return device.write(bytes) == bytes.size(); };
}

} // namespace latcap
