#include "batch_options.h"

#include "batch_files.h"

#include <QCommandLineParser>

#include <algorithm>
#include <thread>

namespace latcap::batch {
namespace {

    const char* const kDescription = R"(Sizes short rigid piles under lateral load by Brinch Hansen's method,
without the window: the same inputs, checks, calculations and texts.

Commands:
  calc-l CASE     Calc L: the embedded depth that carries H and M.
  calc-m CASE     Calc M: the moment a pile of depth L carries with H.
  check CASE      The design check of a pile of depth L under H and M: the
                  load factor (H and M raised together until the pile is at
                  its ultimate state), the ultimate load at e = M / H, the
                  utilisation 1 / load factor, the smallest depth that
                  passes, the moment carried at L with H and the verdict OK
                  (load factor at least 1, results valid) or NOT OK.
  tables [DIR]    Writes KqTable.CSV and KcTable.CSV into DIR (default: the
                  working directory).

The results go to standard output, one per line, as the window shows them:
  L = 2.478
  Zr = 1.979 m
  Moment = 61.42 kNm
  Shear = 100.34 kN
Messages ("Not Enough Data", "Calculating Depth - Iteration Problem", ...)
go to standard error; "Not Enough Data" is followed by a line that says why,
e.g. "Layer 2: bottom 1.5 m is above its top 2 m".

Exit status: 0 converged; 1 an iteration problem (a solver did not converge;
results are still printed), no valid result (the point of rotation Zr does
not lie between the ground and the toe, or Calc M finds a negative moment:
results are still printed, a line on standard error says why) or an
arithmetic problem (a result is not a finite number; no results); 2 not
enough data; 3 a design check that is NOT OK; 64 a usage error or a file
that cannot be read or written.

The case file holds the texts of the window's boxes, one "key = value" per
line; keys in any case, "#" starts a comment, a missing key is an empty box:
  title = Sign post, Main Street   # the title line; no input
  CSF = 1          # without this line: line 2 of Latcap.ini, else 0.5
  H = 50           # lateral load [kN]
  M = 20           # moment [kNm]
  L =              # embedded depth [m]
  layers = 2       # 1 to 5, 1 without this line
  # layer N = bottom [m], unit weight [kN/m3], cohesion [kPa],
  #           friction angle [deg], width [m]
  layer 1 = 1.5, 17, 40, 0, 0.6
  layer 2 = 100, 19, 0, 34, 0.6
  EI = 5000        # optional: the pile's bending stiffness [kNm2], and the
  k = 8000         # soil's modulus of subgrade reaction [kN/m3], constant
                   # (k, clay) or growing with depth (nh, sand): the pile
                   # must then be rigid, betaL <= 1.5 and etaL <= 2 (Broms)
  factors = EN 1997-1 DA2   # partial factors: none (default), EN 1997-1
                   # DA1, DA1-1, DA1-2, DA2, DA3 (EN 1997-1:2004 Annex A,
                   # Tables A.3, A.4, A.13) or custom with "load factor",
                   # "resistance factor", "tan phi factor", "cohesion
                   # factor", "undrained strength factor" (1 when absent)
The top of layer 1 is 0 and each further layer starts at the bottom of the
one above; the deepest layer always reaches 100 m. Lines of layers beyond
"layers" are ignored. Every value but the title is empty or a number such as
50, -0.5, +4 or 1e3; "25 kPa", "5,5" or "five" is refused, naming the file and
line (with --set, the option). A value between double quotes keeps commas,
"#" and blanks; "" stands for a quote (the window writes titles so).

Design studies:
  --set KEY=VALUE  overrides one value of the case, e.g. --set H=60.
  --vary KEY=FROM:TO:STEP runs the command for every value and prints one
                   CSV table: the value, the answer, Zr, Moment, Shear (the
                   numbers a single run prints), Broms' answer, with EI
                   the Stiffness, Status and Messages. The exit status is
                   the highest of the rows.
                   Given up to three times, it runs every combination, the
                   first key varying slowest, one column per key; at most
                   10000000 rows. The rows are written as they are done.
                   Each key may be varied once, and only where some row
                   uses it: not a layer beyond "layers" nor the deepest
                   layer's bottom (always 100 m). A step too fine for the
                   size of its values to keep them exactly apart is refused.
  --jobs N         computes the rows on N threads (default: every core);
                   the output is that of --jobs 1 to the byte.
  --shard K/N      computes only the K-th of N contiguous parts of the rows,
                   the header in part 1 only: the parts in order are one
                   run's output, e.g. for GNU parallel or a Slurm job array.
  KEY is H, M, L, CSF, EI, nh, k, layers, or one field of a layer,
  "layer N.FIELD" with FIELD bottom, unit weight (or gamma), cohesion (or
  c), friction angle (or phi) or width (or d), e.g.
  --vary "layer 2.cohesion=20:60:10".
  Status is one of "converged", "iteration problem", "no valid result",
  "arithmetic problem" and "not enough data"; where several apply, the
  later one in this list is named.
  --json prints inputs, results, status and messages as JSON (an array for
  a sweep); --slices adds the slice table. Units: m, kN, kNm, kPa, kN/m3,
  degrees.
  --plot FILE.svg or FILE.png draws soil pressure, shear and moment down the
  pile.
  --report FILE.pdf writes the calculation report: the inputs, the results,
  whether the solvers converged, the diagrams and the slice table. Without
  results (not enough data, an arithmetic problem) no report is written.)";

} // namespace

QString VersionLine() { return QStringLiteral("latcap-batch " LATCAP_VERSION); }

bool ParseArguments(const QStringList& arguments, Options& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("calc-l, calc-m, check or tables."));
    parser.addPositionalArgument(QStringLiteral("case"), QStringLiteral("The case file (calc-l, calc-m, check)."),
        QStringLiteral("CASE | [DIR]"));
    const QCommandLineOption details(QStringLiteral("details"),
        QStringLiteral("Write the slice table of the calculation to FILE (CSV)."), QStringLiteral("FILE"));
    const QCommandLineOption set(QStringLiteral("set"),
        QStringLiteral("Use VALUE for KEY instead of what the case file says, e.g. "
                       "--set H=60 or --set \"layer 2.cohesion=40\". May be repeated."),
        QStringLiteral("KEY=VALUE"));
    const QCommandLineOption vary(QStringLiteral("vary"),
        QStringLiteral("Run once for every value FROM, FROM + STEP, ... up to TO of KEY "
                       "and print one CSV table (or a JSON array)."),
        QStringLiteral("KEY=FROM:TO:STEP"));
    const QCommandLineOption json(
        QStringLiteral("json"), QStringLiteral("Print the inputs and results as JSON instead of text."));
    const QCommandLineOption slices(QStringLiteral("slices"), QStringLiteral("With --json: add the slice table."));
    const QCommandLineOption plot(QStringLiteral("plot"),
        QStringLiteral("Draw soil pressure, shear and moment down the pile into FILE "
                       "(.svg or .png)."),
        QStringLiteral("FILE"));
    const QCommandLineOption report(QStringLiteral("report"),
        QStringLiteral("Write the calculation report into FILE (.pdf): inputs, results, "
                       "diagrams and the slice table."),
        QStringLiteral("FILE"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
        QStringLiteral("With --vary: compute the rows on N threads (default: every core); the output is the same."),
        QStringLiteral("N"));
    const QCommandLineOption shard(QStringLiteral("shard"),
        QStringLiteral("With --vary: compute only the K-th of N contiguous parts of the rows, so that the parts "
                       "in order make one run's output."),
        QStringLiteral("K/N"));
    parser.addOptions({ details, set, vary, json, slices, plot, report, jobs, shard });

    auto refuse = [&](const QString& reason) {
        error = reason;
        return false;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        options.action = Options::Action::Help;
        options.helpText = parser.helpText();
        return true;
    }
    if (parser.isSet(version)) {
        options.action = Options::Action::Version;
        return true;
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return refuse(QStringLiteral("name a command: calc-l, calc-m, check or tables."));
    const QString& name = args.front();
    if (name == QLatin1String("tables")) {
        if (args.size() > 2)
            return refuse(QStringLiteral("tables takes at most one folder."));
        for (const QCommandLineOption* option :
            { &details, &set, &vary, &json, &slices, &plot, &report, &jobs, &shard }) {
            if (parser.isSet(*option))
                return refuse(QStringLiteral("--%1 belongs to calc-l, calc-m and check.").arg(option->names().front()));
        }
        options.action = Options::Action::Tables;
        options.folder = args.size() == 2 ? args[1] : QStringLiteral(".");
        return true;
    }
    if (name == QLatin1String("calc-l")) {
        options.command = Command::CalcL;
    } else if (name == QLatin1String("calc-m")) {
        options.command = Command::CalcM;
    } else if (name == QLatin1String("check")) {
        // The files written are those of the pile at its design depth.
        options.command = Command::CalcM;
        options.check = true;
    } else
        return refuse(QStringLiteral("unknown command \"%1\".").arg(name));
    if (args.size() != 2)
        return refuse(QStringLiteral("%1 takes one case file.").arg(name));

    options.action = Options::Action::Calculate;
    options.casePath = args[1];
    for (const QString& text : parser.values(set)) {
        CaseSetting setting;
        std::string why;
        if (!ParseSetting(text.toStdString(), setting, why))
            return refuse(QString::fromStdString(why));
        options.settings.push_back(setting);
    }
    if (static_cast<std::size_t>(parser.values(vary).size()) > kMaxSweepKeys)
        return refuse(QStringLiteral("--vary may be given at most %1 times.").arg(kMaxSweepKeys));
    for (const QString& text : parser.values(vary)) {
        Sweep sweep;
        std::string why;
        if (!ParseSweep(text.toStdString(), sweep, why))
            return refuse(QString::fromStdString(why));
        options.sweeps.push_back(std::move(sweep));
    }
    if (std::string why; !DistinctKeys(options.sweeps, why))
        return refuse(QString::fromStdString(why));
    if (!options.sweeps.empty() && !CountRows(options.sweeps, options.rows))
        return refuse(QStringLiteral("the grid of --vary is %1 calculations; at most %2 are allowed.")
                          .arg(options.rows)
                          .arg(kMaxSweepRows));
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    options.jobs = cores;
    if (parser.isSet(jobs)) {
        bool ok = false;
        const uint count = parser.value(jobs).trimmed().toUInt(&ok);
        if (!ok || count < 1 || count > 256)
            return refuse(
                QStringLiteral("--jobs needs a whole number from 1 to 256; found \"%1\".").arg(parser.value(jobs)));
        options.jobs = count;
    }
    if (parser.isSet(shard)) {
        std::string why;
        if (!ParseShard(parser.value(shard).toStdString(), options.shard, why))
            return refuse(QString::fromStdString(why));
    }
    if (options.sweeps.empty()) {
        for (const QCommandLineOption* option : { &jobs, &shard }) {
            if (parser.isSet(*option))
                return refuse(QStringLiteral("--%1 goes with --vary.").arg(option->names().front()));
        }
    } else {
        for (const QCommandLineOption* option : { &details, &plot, &report }) {
            if (parser.isSet(*option))
                return refuse(QStringLiteral("--%1 writes one calculation; it cannot go with --vary.")
                                  .arg(option->names().front()));
        }
    }
    options.json = parser.isSet(json);
    options.slices = parser.isSet(slices);
    if (options.slices && !options.json)
        return refuse(QStringLiteral("--slices goes with --json."));
    options.details = parser.value(details);
    options.plot = parser.value(plot);
    if (parser.isSet(plot) && !IsPlotFile(options.plot))
        return refuse(QStringLiteral("--plot %1: the file name must end in .svg or .png.").arg(options.plot));
    options.report = parser.value(report);
    if (parser.isSet(report) && !IsReportFile(options.report))
        return refuse(QStringLiteral("--report %1: the file name must end in .pdf.").arg(options.report));
    return true;
}

} // namespace latcap::batch
