#include "Export.h"

#include "FileFormats.h"
#include "Messages.h"
#include "SaveFile.h"

#include <QFileInfo>

#include <sstream>

namespace latcap {

namespace {

// The save dialog of the export, set up afresh every time: no initial name,
// no default extension, no overwrite question of its own.
QString GetReportFileName(Platform& platform, QWidget* parent)
{
    return platform.getSaveFileName(parent, QString::fromLatin1(text::kSaveReportTitle),
                                    QString::fromLatin1(text::kReportFilter), QString());
}

} // namespace

bool ExportCalcDetails(Platform& platform, QWidget* parent, const AnalysisState& state)
{
    const QString path = GetReportFileName(platform, parent);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isFile()) {
        const auto answer = platform.showMessage(parent, QString::fromLatin1(text::kWarningTitle),
                                                 QString::fromLatin1(text::kReplaceFile),
                                                 Platform::Buttons::OkCancel);
        if (answer != Platform::Answer::Ok)
            return false;
    }
    std::ostringstream out;
    WriteCalcDetails(out, state);
    QString error;
    if (!SaveFileAtomically(path, BytesWriter(QByteArray::fromStdString(out.str())), error)) {
        platform.showMessage(parent, QString::fromLatin1(text::kErrorTitle), error, Platform::Buttons::Ok);
        return false;
    }
    return true;
}

} // namespace latcap
