#pragma once

#include "batch_run.h"

#include "CaseFile.h"
#include "SaveFile.h"

#include <QString>

#include <memory>

namespace latcap::batch {

// Whether path ends in .svg or .png, the two kinds of diagram, or in .pdf.
bool IsPlotFile(const QString& path);
bool IsReportFile(const QString& path);

// Whether both paths name one existing file, by any spelling or link.
bool SameFile(const QString& a, const QString& b);

// The writers of the files a calculation with results can give: its slice
// table as CSV; its diagrams as SVG or PNG by the extension of path; its
// report as PDF, headed with title and the CSF's source, made now.
// The diagrams and the report need a QGuiApplication.
DeviceWriter DetailsWriter(const std::shared_ptr<const Calculation>& calc);
DeviceWriter PlotWriter(const std::shared_ptr<const Calculation>& calc, const QString& title, const QString& path);
DeviceWriter ReportWriter(const std::shared_ptr<const Calculation>& calc, const QString& title,
    const QString& csfSource, const JobDetails& job, const std::shared_ptr<const DesignCheck>& check = nullptr,
    const std::string& factorSet = "none");

} // namespace latcap::batch
