#include "ReadFile.h"

#include "FileFormats.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace latcap {

QByteArray NativeFileName(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info { };
    if (!path.contains(QChar::ReplacementCharacter) || lstat(encoded.constData(), &info) == 0)
        return encoded;
    const QFileInfo file(path);
    const QByteArray folder = QFile::encodeName(file.path());
    DIR* dir = opendir(folder.constData());
    if (dir == nullptr)
        return encoded;
    QByteArray found;
    int matches = 0;
    while (const dirent* entry = readdir(dir)) {
        if (QFile::decodeName(entry->d_name) == file.fileName()) {
            found = folder + '/' + entry->d_name;
            ++matches;
        }
    }
    closedir(dir);
    return matches == 1 ? found : encoded;
}

bool ReadSmallFile(const QString& path, QByteArray& content, QString& reason)
{
    const QByteArray native = NativeFileName(path);
    if (const std::string problem = InputFileProblem(native.toStdString()); !problem.empty()) {
        reason = QString::fromStdString(problem);
        return false;
    }
    const int handle = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        reason = file.errorString();
        return false;
    }
    // One byte past the limit tells a file that has grown since from one
    // that is exactly 1 MB.
    content = file.read(static_cast<qint64>(kMaxInputFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    if (content.size() > static_cast<qsizetype>(kMaxInputFileBytes)) {
        reason = QStringLiteral("it is larger than 1 MB");
        return false;
    }
    return true;
}

} // namespace latcap
