#include "batch_case.h"

#include "FileFormats.h"
#include "Messages.h"
#include "NumberText.h"
#include "ReadFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace latcap::batch {
namespace {

    bool ReadBytes(const QString& path, std::string& bytes, QString& error)
    {
        auto fail = [&](const QString& reason) {
            error = QStringLiteral("The file %1 could not be read: %2").arg(QDir::toNativeSeparators(path), reason);
            return false;
        };
        QByteArray content;
        QString reason;
        if (!ReadSmallFile(path, content, reason))
            return fail(reason + QLatin1Char('.'));
        bytes.assign(content.constData(), static_cast<std::size_t>(content.size()));
        return true;
    }

} // namespace

bool LoadCase(const QString& path, Case& result, QString& error)
{
    std::string content;
    if (!ReadBytes(path, content, error))
        return false;
    std::string what;
    if (!ReadCase(content, QDir::toNativeSeparators(path).toStdString(), result, what, CaseNumbers::Strict)) {
        error = QString::fromStdString(what);
        return false;
    }
    return true;
}

bool StartCsf(std::string& csf, QString& error, bool* fromIni)
{
    csf = text::kDefaultCsf;
    if (fromIni)
        *fromIni = false;
    const QString ini = QString::fromLatin1(text::kIniFile);
    if (!QFileInfo::exists(ini))
        return true;
    std::string content;
    if (!ReadBytes(ini, content, error))
        return false;
    if (const auto line = SettingsCsfLine(content)) {
        // As strict as a CSF in a case file.
        const NumberReading reading = ReadNumberText(*line);
        if (!reading.empty && !reading.whole) {
            error
                = QStringLiteral("%1:2: CSF = %2 is not a number").arg(ini, QString::fromStdString(QuotedText(*line)));
            return false;
        }
        csf = *line;
        if (fromIni)
            *fromIni = true;
    }
    return true;
}

} // namespace latcap::batch
