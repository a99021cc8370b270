#include "SaveFile.h"

#include <QDir>
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
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("it is a folder."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString() + QLatin1Char('.'));
    const auto size = static_cast<qint64>(bytes.size());
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
