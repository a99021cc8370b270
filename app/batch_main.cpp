#include "batch_case.h"
#include "batch_json.h"
#include "batch_plot.h"
#include "batch_run.h"
#include "batch_study.h"

#include "Coefficients.h"
#include "FileFormats.h"
#include "Messages.h"
#include "NumberText.h"
#include "SaveFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace latcap::batch {
namespace {

    const char* const kDescription = R"(Sizes short rigid piles under lateral load by Brinch Hansen's method,
without the window: the same inputs, checks, calculations and texts.

Commands:
  calc-l CASE     Calc L: the embedded depth that carries H and M.
  calc-m CASE     Calc M: the moment a pile of depth L carries with H.
  tables [DIR]    Writes KqTable.CSV and KcTable.CSV into DIR (default: the
                  working directory).

The results go to standard output, one per line, as the window shows them:
  L = 2.478
  Zr = 1.979 m
  Moment = 61.42 kNm
  Shear = 100.34 kN
Messages ("Not Enough Data", "Calculating Depth - Iteration Problem", ...)
go to standard error.

Exit status: 0 converged; 1 a solver did not converge (results are still
printed) or a result is not a finite number (no results); 2 Not Enough Data;
64 a usage error or a file that cannot be read or written.

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
The top of layer 1 is 0 and each further layer starts at the bottom of the
one above; the deepest layer always reaches 100 m. Lines of layers beyond
"layers" are ignored.

Design studies:
  --set KEY=VALUE  overrides one value of the case, e.g. --set H=60.
  --vary KEY=FROM:TO:STEP runs the command for every value and prints one
                   CSV table: the value, the answer, Zr, Moment, Shear (the
                   numbers a single run prints), Converged and Messages.
                   The exit status is the highest of the rows.
  KEY is H, M, L, CSF, layers, or one field of a layer, "layer N.FIELD" with
  FIELD bottom, unit weight (or gamma), cohesion (or c), friction angle (or
  phi) or width (or d), e.g. --vary "layer 2.cohesion=20:60:10".
  --json prints inputs, results, convergence and messages as JSON (an array
  for a sweep); --slices adds the slice table. Units: m, kN, kNm, kPa,
  kN/m3, degrees.
  --plot FILE.svg or FILE.png draws soil pressure, shear and moment down the
  pile.)";

    int UsageError(const QString& message)
    {
        std::cerr << "latcap-batch: " << message.toStdString() << "\n"
                  << "Run \"latcap-batch --help\" for the commands and the case format.\n";
        return kExitUsage;
    }

    int FileError(const QString& message)
    {
        std::cerr << message.toStdString() << "\n";
        return kExitUsage;
    }

    int WriteTables(const QString& folder)
    {
        auto state = std::make_unique<AnalysisState>();
        FillKqTable(*state);
        FillKcTable(*state);
        const QDir dir(folder);
        for (const auto& [name, table] :
            { std::pair { text::kKqTableFile, &state->KqTable }, std::pair { text::kKcTableFile, &state->KcTable } }) {
            std::ostringstream out;
            WriteCoefficientTable(out, *table);
            QString error;
            if (!SaveFileAtomically(dir.filePath(QString::fromLatin1(name)), BytesWriter(QByteArray::fromStdString(out.str())), error))
                return FileError(error);
        }
        return kExitConverged;
    }

    std::string Between(const std::string& text, std::string_view prefix, std::string_view suffix)
    {
        if (text.size() < prefix.size() + suffix.size())
            return {};
        return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    }

    std::string Joined(const std::vector<std::string>& texts)
    {
        std::string out;
        for (const std::string& text : texts)
            out += (out.empty() ? "" : "; ") + text;
        return out;
    }

    std::string CsvHeader(Command command, const std::string& key)
    {
        const std::string unit = CaseKeyUnit(key);
        return key + (unit.empty() ? "" : " [" + unit + "]") + "," + AnswerKey(command)
            + (command == Command::CalcL ? " [m]" : " [kNm]") + ",Zr [m],Moment [kNm],Shear [kN],Converged,Messages";
    }

    // One row of a sweep: the numbers of the lines a single run prints.
    std::string CsvRow(const std::string& value, const Calculation& calc)
    {
        std::string row = value + ",";
        if (calc.HasResults()) {
            row += calc.outcome.answer + "," + Between(calc.results.zr, "Zr = ", " m") + ","
                + Between(calc.results.moment, "Moment = ", " kNm") + ","
                + Between(calc.results.shear, "Shear = ", " kN");
        } else {
            row += ",,,";
        }
        return row + "," + (calc.Converged() ? "yes" : "no") + "," + Joined(calc.messages);
    }

    void PrintJson(const QJsonValue& value)
    {
        const QJsonDocument document
            = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
        std::cout << document.toJson(QJsonDocument::Indented).toStdString();
    }

    struct Options {
        QString casePath;
        std::vector<CaseSetting> settings;
        std::optional<Sweep> sweep;
        bool json = false;
        bool slices = false;
        QString details;
        QString plot;
    };

    int RunSweep(Command command, const Case& source, const std::string& startCsf, const Options& options)
    {
        const Sweep& sweep = *options.sweep;
        // Every value must make a case before the first row is printed.
        std::vector<Case> cases(sweep.values.size(), source);
        for (std::size_t i = 0; i < sweep.values.size(); ++i) {
            std::string error;
            if (!SetCaseValue(cases[i], sweep.key, sweep.values[i], error))
                return UsageError(QStringLiteral("--vary %1=%2: %3")
                                      .arg(QString::fromStdString(sweep.key), QString::fromStdString(sweep.values[i]),
                                          QString::fromStdString(error)));
        }
        QJsonArray rows;
        if (!options.json)
            std::cout << CsvHeader(command, sweep.key) << "\n";
        int status = kExitConverged;
        QElapsedTimer timer;
        timer.start();
        qint64 lastReport = 0;
        for (std::size_t i = 0; i < sweep.values.size(); ++i) {
            const Case& varied = cases[i];
            const Calculation calc = Calculate(command, CaseInputs(varied, startCsf), varied.layerCount);
            status = std::max(status, calc.ExitStatus());
            if (options.json) {
                QJsonObject json = CalculationJson(calc, options.casePath, options.slices);
                json.insert(QStringLiteral("title"), QString::fromStdString(source.title));
                json.insert(QStringLiteral("varied"),
                    QJsonObject { { QStringLiteral("key"), QString::fromStdString(sweep.key) },
                        { QStringLiteral("value"), ReadNumber(sweep.values[i]) } });
                rows.append(json);
            } else {
                std::cout << CsvRow(sweep.values[i], calc) << "\n";
            }
            const qint64 elapsed = timer.elapsed();
            if (elapsed >= 1000 && elapsed - lastReport >= 1000) {
                lastReport = elapsed;
                std::cerr << "latcap-batch: " << i + 1 << " of " << sweep.values.size() << " calculations done\n";
            }
        }
        if (lastReport > 0)
            std::cerr << "latcap-batch: " << sweep.values.size() << " of " << sweep.values.size()
                      << " calculations done\n";
        if (options.json)
            PrintJson(rows);
        std::cout.flush();
        return status;
    }

    int RunCase(Command command, const Options& options)
    {
        Case source;
        QString error;
        if (!LoadCase(options.casePath, source, error))
            return FileError(error);
        for (const CaseSetting& setting : options.settings) {
            std::string what;
            if (!SetCaseValue(source, setting.key, setting.value, what))
                return UsageError(QStringLiteral("--set %1=%2: %3")
                                      .arg(QString::fromStdString(setting.key), QString::fromStdString(setting.value),
                                          QString::fromStdString(what)));
        }
        std::string startCsf = text::kDefaultCsf;
        if (!source.csf && !StartCsf(startCsf, error))
            return FileError(error);
        if (options.sweep)
            return RunSweep(command, source, startCsf, options);

        const Calculation calc = Calculate(command, CaseInputs(source, startCsf), source.layerCount);
        for (const std::string& message : calc.messages)
            std::cerr << message << "\n";
        if (options.json) {
            QJsonObject json = CalculationJson(calc, options.casePath, options.slices);
            json.insert(QStringLiteral("title"), QString::fromStdString(source.title));
            PrintJson(json);
        } else {
            for (const std::string& line : calc.OutputLines())
                std::cout << line << "\n";
        }
        std::cout.flush();

        int status = calc.ExitStatus();
        auto writeFile = [&](const QString& path, auto&& write) {
            if (path.isEmpty())
                return;
            if (!calc.HasResults()) {
                std::cerr << "The file " << QDir::toNativeSeparators(path).toStdString()
                          << " was not written: the calculation has no results.\n";
                return;
            }
            QString failure;
            if (!write(path, failure))
                status = FileError(failure);
        };
        writeFile(options.details, [&](const QString& path, QString& failure) {
            std::ostringstream out;
            WriteCalcDetails(out, *calc.state);
            return SaveFileAtomically(path, BytesWriter(QByteArray::fromStdString(out.str())), failure);
        });
        writeFile(options.plot, [&](const QString& path, QString& failure) {
            const QString title = source.title.empty() ? QFileInfo(options.casePath).completeBaseName()
                                                       : QString::fromStdString(source.title);
            return WritePlot(calc, title, path, failure);
        });
        return status;
    }

    int Main(const QStringList& arguments)
    {
        QCommandLineParser parser;
        parser.setApplicationDescription(QString::fromUtf8(kDescription));
        const QCommandLineOption help = parser.addHelpOption();
        parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("calc-l, calc-m or tables."));
        parser.addPositionalArgument(
            QStringLiteral("case"), QStringLiteral("The case file (calc-l, calc-m)."), QStringLiteral("CASE | [DIR]"));
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
        parser.addOptions({ details, set, vary, json, slices, plot });

        if (!parser.parse(arguments))
            return UsageError(parser.errorText());
        if (parser.isSet(help)) {
            std::cout << parser.helpText().toStdString();
            return kExitConverged;
        }
        const QStringList args = parser.positionalArguments();
        if (args.isEmpty())
            return UsageError(QStringLiteral("name a command: calc-l, calc-m or tables."));
        const QString& name = args.front();
        if (name == QLatin1String("tables")) {
            if (args.size() > 2)
                return UsageError(QStringLiteral("tables takes at most one folder."));
            for (const QCommandLineOption* option : { &details, &set, &vary, &json, &slices, &plot }) {
                if (parser.isSet(*option))
                    return UsageError(
                        QStringLiteral("--%1 belongs to calc-l and calc-m.").arg(option->names().front()));
            }
            return WriteTables(args.size() == 2 ? args[1] : QStringLiteral("."));
        }
        Command command;
        if (name == QLatin1String("calc-l"))
            command = Command::CalcL;
        else if (name == QLatin1String("calc-m"))
            command = Command::CalcM;
        else
            return UsageError(QStringLiteral("unknown command \"%1\".").arg(name));
        if (args.size() != 2)
            return UsageError(QStringLiteral("%1 takes one case file.").arg(name));

        Options options;
        options.casePath = args[1];
        for (const QString& text : parser.values(set)) {
            CaseSetting setting;
            std::string error;
            if (!ParseSetting(text.toStdString(), setting, error))
                return UsageError(QString::fromStdString(error));
            options.settings.push_back(setting);
        }
        if (parser.values(vary).size() > 1)
            return UsageError(QStringLiteral("--vary may be given once."));
        if (parser.isSet(vary)) {
            Sweep sweep;
            std::string error;
            if (!ParseSweep(parser.value(vary).toStdString(), sweep, error))
                return UsageError(QString::fromStdString(error));
            options.sweep = std::move(sweep);
            for (const QCommandLineOption* option : { &details, &plot }) {
                if (parser.isSet(*option))
                    return UsageError(QStringLiteral("--%1 writes one calculation; it cannot go with --vary.")
                                          .arg(option->names().front()));
            }
        }
        options.json = parser.isSet(json);
        options.slices = parser.isSet(slices);
        if (options.slices && !options.json)
            return UsageError(QStringLiteral("--slices goes with --json."));
        options.details = parser.value(details);
        options.plot = parser.value(plot);
        if (parser.isSet(plot) && !IsPlotFile(options.plot))
            return UsageError(QStringLiteral("--plot %1: the file name must end in .svg or .png.").arg(options.plot));
        return RunCase(command, options);
    }

} // namespace
} // namespace latcap::batch

namespace {

// Qt's own notes (a missing runtime folder, font lookups) are no concern of
// someone running a calculation; only its serious errors are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << "\n";
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(QuietQtMessages);
    // Only a diagram needs fonts and painting, and so a (window-less) GUI
    // application.
    bool plots = false;
    for (int i = 1; i < argc; ++i)
        plots = plots || std::string_view(argv[i]).rfind("--plot", 0) == 0;
    if (plots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app
        = plots ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("latcap-batch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LATCAP_VERSION));
    return latcap::batch::Main(QCoreApplication::arguments());
}
