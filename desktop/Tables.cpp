#include "Tables.h"

#include "FileFormats.h"
#include "SaveDialog.h"

#include <QDir>

namespace latcap {

bool SaveCoefficientTables(Platform& platform, QWidget* parent, const QString& directory)
{
    const QDir dir(directory);
    for (const TableFile& file : CoefficientTableFiles()) {
        if (!SaveReportingFailure(platform, parent, dir.filePath(QString::fromLatin1(file.name)),
                BytesWriter(QByteArray::fromStdString(file.text))))
            return false;
    }
    return true;
}

} // namespace latcap
