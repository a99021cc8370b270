#include "SaveFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace latcap {
namespace {

    // Writes bytes into the open file and makes sure every one of them
    // reached it: a short write is an error too, and what Qt still buffers
    // is written out here. On failure puts the reason into reason.
    bool WriteAll(QFileDevice& file, const QByteArray& bytes, QString& reason)
    {
        errno = 0;
        if (file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError)
            return true;
        // A write that failed inside Qt's buffering leaves its cause only in errno.
        reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
        return false;
    }

} // namespace

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
    // The writers (a PDF, an SVG, a PNG) do not all notice a write that the
    // disk took only in part, so the file is made in memory and written out
    // in one checked write.
    auto render = [&write](QString& reason) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!write(buffer, reason) && reason.isEmpty())
            reason = QStringLiteral("its contents could not be made");
        return reason.isEmpty() ? buffer.data() : QByteArray();
    };
    QString reason;
    if (info.exists() && !info.isFile()) {
        // A device or a pipe cannot be replaced by renaming a temporary file
        // over it (and with enough rights that would destroy it), so it is
        // written directly.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return fail(device.errorString());
        const QByteArray bytes = render(reason);
        if (!reason.isEmpty() || !WriteAll(device, bytes, reason))
            return fail(reason);
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = render(reason);
    if (!reason.isEmpty() || !WriteAll(file, bytes, reason)) {
        file.cancelWriting();
        return fail(reason);
    }
    // The commit renames the temporary file over the target only now that
    // every byte is in it.
    struct stat disk { };
    if (fstat(file.handle(), &disk) != 0 || disk.st_size != bytes.size()) {
        file.cancelWriting();
        return fail(QStringLiteral("not all of it reached the disk"));
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
