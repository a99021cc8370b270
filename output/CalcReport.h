#pragma once

#include "Calculation.h"
#include "CaseFile.h"
#include "DesignCheck.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QPainter;
class QRectF;

namespace latcap {

// A calculation report as texts ready for paper: what was given, what was
// found, whether the solvers converged, the diagrams and the slice table.
struct CalcReport {
    struct Line {
        QString name;
        QString value;
        QString unit;
    };

    QString title; // the title box; may be empty
    std::vector<Line> job; // the job details given: project, job number, client, ...
    QString jobHeading; // e.g. "Job 2026-114, revision B"; empty without either
    QString program; // name and version
    QDateTime made;
    QString command; // "Calc L" or "Calc M"
    QString given; // e.g. "H, M, CSF and the layers"
    QString found; // e.g. "the depth L, Zr, the largest moment and shear"
    std::vector<Line> inputs;
    QStringList layerHeader;
    std::vector<QStringList> layers;
    QStringList results; // exactly as the window shows them
    std::vector<Line> resultNotes;
    // The check, opening page 1: load factor, ultimate load at its height,
    // utilisation, depth required and the factors; empty without a check.
    std::vector<Line> designCheck;
    bool designOk = true;
    // The partial factors (with a set other than none): the set, each factor
    // with its source, the combined factor on the loads; each layer's
    // characteristic and design values.
    std::vector<Line> factors;
    QStringList factorHeader;
    std::vector<QStringList> factorLayers;
    QStringList problems; // the solvers' messages and the validity line; none when converged
    bool validResult = true; // false when the numbers lie outside the method
    QStringList misread; // e.g. `H: "27,5" read as 27`
    std::vector<Line> equilibrium; // the slices' forces and moments against the loads
    QStringList coefficientHeader;
    std::vector<QStringList> coefficients; // one row per layer the pile reaches
    QStringList notes; // what CSF means, L/D and the rigid pile
    std::vector<Line> rigidity; // EI, the moduli and Broms' criteria, when the stiffness is checked
    QStringList rigidityNotes; // the verdict and the references
    QString reference; // the method's source
    QStringList bromsHeader;
    std::vector<QStringList> broms; // Brinch Hansen's and Broms' answers side by side
    QStringList bromsNotes; // their ratio and why they differ, or why Broms does not apply
    std::vector<Line> bromsWorking; // the terms of Broms' equations
    QStringList bromsWorkingNotes; // rounded constants, CSF and the reference
    QStringList sliceHeader; // each with its unit on a line of its own
    std::vector<QStringList> slices; // the layer, then five significant figures
    QString zrMark; // e.g. "Zr = 1.979 m", a row of its own between the slices above and below it
    std::size_t slicesAboveZr = 0; // the slices before that row
    QString sliceNote;
    // Draws soil pressure, shear and moment down the pile into the rectangle.
    std::function<void(QPainter&, const QRectF&)> drawDiagrams;
};

// What a report is made from: one calculation as the window or the batch tool
// ran it, which the report shares for its diagrams.
struct ReportSource {
    std::shared_ptr<const Calculation> calculation;
    QString title;
    QString csfSource; // e.g. "from the CSF box" or "from Latcap.ini"
    QString program;
    QDateTime made;
    JobDetails job;
    std::shared_ptr<const DesignCheck> check; // of a design check, the calculation being its Calc M at L
    std::string factorSet = "none"; // the set the case names, e.g. "EN 1997-1 DA1"
};

// The source of a report that this program makes now.
ReportSource MakeReportSource(std::shared_ptr<const Calculation> calculation, QString title, QString csfSource,
    JobDetails job, std::shared_ptr<const DesignCheck> check = nullptr, std::string factorSet = "none");

// The report of a calculation that has results (no arithmetic problem and
// enough data).
CalcReport MakeCalcReport(const ReportSource& source);

// Writes the report into device as an A4 PDF whose text is text: the heading,
// inputs, results, status and method on the first pages, the diagrams on a
// landscape page of their own, then the slice table in whole rows with its
// head on every page. No page break parts a heading from what it heads, or
// cuts a paragraph or a short table. Every
// page carries the title, "Page x of y" and, when the solvers did not
// converge or the result is not valid, why. On failure returns false with the reason in error.
bool WriteCalcReportPdf(QIODevice& device, const CalcReport& report, QString& error);

} // namespace latcap
