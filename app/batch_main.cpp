#include "batch_case.h"
#include "batch_run.h"

#include "Coefficients.h"
#include "FileFormats.h"
#include "Messages.h"
#include "SaveFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

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
"layers" are ignored.)";

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
            if (!SaveFileAtomically(dir.filePath(QString::fromLatin1(name)), out.str(), error))
                return FileError(error);
        }
        return kExitConverged;
    }

    int RunCase(
        Command command, const QString& casePath, const QCommandLineParser& parser, const QCommandLineOption& details)
    {
        Case source;
        QString error;
        if (!LoadCase(casePath, source, error))
            return FileError(error);
        std::string startCsf = text::kDefaultCsf;
        if (!source.csf && !StartCsf(startCsf, error))
            return FileError(error);

        const Calculation calc = Calculate(command, CaseInputs(source, startCsf), source.layerCount);
        for (const std::string& message : calc.messages)
            std::cerr << message << "\n";
        for (const std::string& line : calc.OutputLines())
            std::cout << line << "\n";
        std::cout.flush();

        if (parser.isSet(details)) {
            const QString path = parser.value(details);
            if (!calc.HasResults()) {
                std::cerr << "The file " << QDir::toNativeSeparators(path).toStdString()
                          << " was not written: the calculation has no results.\n";
            } else {
                std::ostringstream out;
                WriteCalcDetails(out, *calc.state);
                if (!SaveFileAtomically(path, out.str(), error))
                    return FileError(error);
            }
        }
        return calc.ExitStatus();
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
            QStringLiteral("Write the slice table of the calculation to FILE."), QStringLiteral("FILE"));
        parser.addOption(details);

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
            if (parser.isSet(details))
                return UsageError(QStringLiteral("--details belongs to calc-l and calc-m."));
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
        return RunCase(command, args[1], parser, details);
    }

} // namespace
} // namespace latcap::batch

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("latcap-batch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LATCAP_VERSION));
    return latcap::batch::Main(QCoreApplication::arguments());
}
