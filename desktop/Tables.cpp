#include "Tables.h"

#include "FileFormats.h"
#include "Messages.h"
#include "SaveDialog.h"

#include <QDir>

#include <sstream>

namespace latcap {

namespace {

    bool SaveTable(Platform& platform, QWidget* parent, const CoefficientTable& table, const QString& path)
    {
        std::ostringstream out;
        WriteCoefficientTable(out, table);
        return SaveReportingFailure(platform, parent, path, BytesWriter(QByteArray::fromStdString(out.str())));
    }

} // namespace

bool SaveCoefficientTables(Platform& platform, QWidget* parent, const AnalysisState& state, const QString& directory)
{
    const QDir dir(directory);
    return SaveTable(platform, parent, state.KqTable, dir.filePath(QString::fromLatin1(text::kKqTableFile)))
        && SaveTable(platform, parent, state.KcTable, dir.filePath(QString::fromLatin1(text::kKcTableFile)));
}

} // namespace latcap
