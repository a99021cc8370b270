#include "batch_files.h"

#include "CalcReport.h"
#include "Diagrams.h"
#include "FileFormats.h"

#include <QFileInfo>

#include <sstream>

namespace latcap::batch {
namespace {

    bool HasSuffix(const QString& path, const char* suffix)
    {
        return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
    }

    QStringList Texts(const std::vector<std::string>& texts)
    {
        QStringList list;
        for (const std::string& text : texts)
            list.append(QString::fromStdString(text));
        return list;
    }

    DiagramSource DiagramOf(const Calculation& calc, const QString& title)
    {
        return { *calc.state, calc.inputs, calc.layerCount, calc.command == Command::CalcL,
            QString::fromStdString(calc.outcome.answer), Texts(calc.messages), title };
    }

} // namespace

bool IsPlotFile(const QString& path) { return HasSuffix(path, "svg") || HasSuffix(path, "png"); }

bool IsReportFile(const QString& path) { return HasSuffix(path, "pdf"); }

DeviceWriter DetailsWriter(const Calculation& calc)
{
    return [&calc](QIODevice& device, QString&) {
        std::ostringstream text;
        WriteCalcDetails(text, *calc.state);
        const QByteArray bytes = QByteArray::fromStdString(text.str());
        return device.write(bytes) == bytes.size();
    };
}

DeviceWriter PlotWriter(const Calculation& calc, const QString& title, const QString& path)
{
    const bool svg = HasSuffix(path, "svg");
    return [&calc, title, svg](QIODevice& device, QString&) {
        const DiagramSource source = DiagramOf(calc, title);
        return svg ? WriteDiagramSvg(device, source) : WriteDiagramPng(device, source);
    };
}

DeviceWriter ReportWriter(
    const Calculation& calc, const QString& title, const QString& csfSource, const QDateTime& made)
{
    return [&calc, title, csfSource, made](QIODevice& device, QString& error) {
        const ReportSource source { *calc.state, calc.inputs, calc.layerCount, calc.command == Command::CalcL,
            calc.outcome, calc.results, Texts(calc.messages), title, csfSource,
            QStringLiteral("latcap " LATCAP_VERSION), made };
        return WriteCalcReportPdf(device, MakeCalcReport(source), error);
    };
}

} // namespace latcap::batch
