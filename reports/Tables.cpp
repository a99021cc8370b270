#include "Tables.h"

#include "FileFormats.h"
#include "Messages.h"
#include "SaveFile.h"

#include <QDir>

#include <sstream>

namespace latcap {

namespace {

bool SaveTable(Platform& platform, QWidget* parent, const CoefficientTable& table, const QString& path)
{
    std::ostringstream out;
    WriteCoefficientTable(out, table);
    QString error;
    if (SaveFileAtomically(path, BytesWriter(QByteArray::fromStdString(out.str())), error))
        return true;
    platform.showMessage(parent, QString::fromLatin1(text::kErrorTitle), error, Platform::Buttons::Ok);
    return false;
}

} // namespace

bool SaveCoefficientTables(Platform& platform, QWidget* parent, const AnalysisState& state,
                           const QString& directory)
{
    const QDir dir(directory);
    return SaveTable(platform, parent, state.KqTable, dir.filePath(QString::fromLatin1(text::kKqTableFile)))
        && SaveTable(platform, parent, state.KcTable, dir.filePath(QString::fromLatin1(text::kKcTableFile)));
}

} // namespace latcap
