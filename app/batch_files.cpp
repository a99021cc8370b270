#include "batch_files.h"

#include "CalcReport.h"
#include "Diagrams.h"
#include "FileFormats.h"

#include <QFile>
#include <QFileInfo>

#include <sstream>

#include <sys/stat.h>

namespace latcap::batch {
namespace {

    bool HasSuffix(const QString& path, const char* suffix)
    {
        return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
    }

} // namespace

bool IsPlotFile(const QString& path) { return HasSuffix(path, "svg") || HasSuffix(path, "png"); }

bool IsReportFile(const QString& path) { return HasSuffix(path, "pdf"); }

bool SameFile(const QString& a, const QString& b)
{
    struct stat first { };
    struct stat second { };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

DeviceWriter DetailsWriter(const std::shared_ptr<const Calculation>& calc)
{
    return [calc](QIODevice& device, QString&) {
        std::ostringstream text;
        WriteCalcDetails(text, *calc->state);
        const QByteArray bytes = QByteArray::fromStdString(text.str());
        return device.write(bytes) == bytes.size();
    };
}

DeviceWriter PlotWriter(const std::shared_ptr<const Calculation>& calc, const QString& title, const QString& path)
{
    const bool svg = HasSuffix(path, "svg");
    return [source = DiagramSource { calc, title }, svg](QIODevice& device, QString&) {
        return svg ? WriteDiagramSvg(device, source) : WriteDiagramPng(device, source);
    };
}

DeviceWriter ReportWriter(const std::shared_ptr<const Calculation>& calc, const QString& title,
    const QString& csfSource, const JobDetails& job, const std::shared_ptr<const DesignCheck>& check,
    const std::string& factorSet)
{
    return [source = MakeReportSource(calc, title, csfSource, job, check, factorSet)](
               QIODevice& device, QString& error) { return WriteCalcReportPdf(device, MakeCalcReport(source), error); };
}

} // namespace latcap::batch
