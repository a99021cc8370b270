#include "Export.h"

#include "DialogTexts.h"
#include "FileFormats.h"
#include "SaveDialog.h"

#include <sstream>

namespace latcap {

bool ExportCalcDetails(Platform& platform, QWidget* parent, const AnalysisState& state, const QString& caseInUse)
{
    std::ostringstream out;
    WriteCalcDetails(out, state);
    const SaveRequest request { QString::fromLatin1(text::kSaveReportTitle), QString::fromLatin1(text::kReportFilter),
        QString(), QString(), caseInUse };
    return SaveThroughDialog(platform, parent, request, BytesWriter(QByteArray::fromStdString(out.str())));
}

} // namespace latcap
