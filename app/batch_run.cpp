#include "batch_run.h"

#include "batch_case.h"
#include "batch_files.h"
#include "batch_output.h"

#include "Coefficients.h"
#include "FileFormats.h"
#include "Messages.h"
#include "NumberText.h"
#include "SaveFile.h"
#include "Solvers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <sstream>

namespace latcap::batch {
namespace {

    // The runs of one command line, writing to its two streams.
    class Runner {
    public:
        Runner(std::ostream& out, std::ostream& err)
            : out_(out)
            , err_(err)
        {
        }

        int UsageError(const QString& message)
        {
            err_ << "latcap-batch: " << message.toStdString() << "\n"
                 << "Run \"latcap-batch --help\" for the commands and the case format.\n";
            return kExitUsageOrFileError;
        }

        int FileError(const QString& message)
        {
            err_ << message.toStdString() << "\n";
            return kExitUsageOrFileError;
        }

        int WriteTables(const QString& folder)
        {
            auto state = std::make_unique<AnalysisState>();
            FillKqTable(*state);
            FillKcTable(*state);
            const QDir dir(folder);
            for (const auto& [name, table] : { std::pair { text::kKqTableFile, &state->KqTable },
                     std::pair { text::kKcTableFile, &state->KcTable } }) {
                std::ostringstream text;
                WriteCoefficientTable(text, *table);
                QString error;
                if (!SaveFileAtomically(dir.filePath(QString::fromLatin1(name)),
                        BytesWriter(QByteArray::fromStdString(text.str())), error))
                    return FileError(error);
            }
            return kExitConverged;
        }

        int RunCase(const Options& options)
        {
            Case source;
            QString error;
            if (!LoadCase(options.casePath, source, error))
                return FileError(error);
            for (const CaseSetting& setting : options.settings) {
                std::string what;
                if (!SetCaseValue(source, setting.key, setting.value, what, CaseNumbers::Strict))
                    return UsageError(QStringLiteral("--set %1=%2: %3")
                                          .arg(QString::fromStdString(setting.key),
                                              QString::fromStdString(setting.value), QString::fromStdString(what)));
            }
            std::string startCsf = text::kDefaultCsf;
            bool csfFromIni = false;
            if (!source.csf && !StartCsf(startCsf, error, &csfFromIni))
                return FileError(error);
            if (options.sweep)
                return RunSweep(options, source, startCsf);

            const InputTexts inputs = CaseInputs(source, startCsf);
            std::shared_ptr<const DesignCheck> check;
            std::shared_ptr<const Calculation> shared;
            int status = kExitConverged;
            if (options.check) {
                check = std::make_shared<const DesignCheck>(CheckDesign(inputs, source.layerCount));
                shared = check->atDepth;
                for (const Calculation* part : { check->atDepth.get(), check->forLoads.get() }) {
                    for (const std::string& line : ErrorLines(*part))
                        err_ << CommandName(part->command) << ": " << line << "\n";
                }
                if (options.json) {
                    PrintJson(out_, CheckJson(*check, options.casePath, source.title, options.slices));
                } else {
                    for (const std::string& line : CheckLines(*check))
                        out_ << line << "\n";
                }
                status = ExitStatus(*check);
            } else {
                shared = std::make_shared<const Calculation>(Calculate(options.command, inputs, source.layerCount));
                for (const std::string& line : ErrorLines(*shared))
                    err_ << line << "\n";
                if (options.json) {
                    PrintJson(out_, CalculationJson(*shared, options.casePath, source.title, options.slices));
                } else {
                    for (const std::string& line : shared->OutputLines())
                        out_ << line << "\n";
                }
                status = ExitStatus(*shared);
            }
            out_.flush();
            const Calculation& calc = *shared;

            auto writeFile = [&](const QString& path, const DeviceWriter& write) {
                if (path.isEmpty())
                    return;
                if (!calc.HasResults()) {
                    err_ << "The file " << QDir::toNativeSeparators(path).toStdString()
                         << " was not written: the calculation has no results.\n";
                    return;
                }
                QString failure;
                if (!SaveFileAtomically(path, write, failure))
                    status = FileError(failure);
            };
            writeFile(options.details, DetailsWriter(shared));
            const QString title = source.title.empty() ? QFileInfo(options.casePath).completeBaseName()
                                                       : QString::fromStdString(source.title);
            writeFile(options.plot, PlotWriter(shared, title, options.plot));
            if (!options.report.isEmpty() && !calc.HasResults()) {
                err_ << "No report: the calculation has no results, so "
                     << QDir::toNativeSeparators(options.report).toStdString() << " was not written.\n";
            } else {
                const bool csfSet
                    = std::any_of(options.settings.begin(), options.settings.end(), [](const CaseSetting& s) {
                          return QString::fromStdString(s.key).trimmed().toUpper() == QLatin1String("CSF");
                      });
                const QString csfSource = csfSet ? QStringLiteral("set with --set")
                    : source.csf                 ? QStringLiteral("from the case file")
                    : csfFromIni                 ? QStringLiteral("from Latcap.ini")
                                                 : QStringLiteral("the start value, without Latcap.ini");
                writeFile(options.report,
                    ReportWriter(shared, title, csfSource, QDateTime::currentDateTime(), source.job, check));
            }
            return status;
        }

    private:
        int RunSweep(const Options& options, const Case& source, const std::string& startCsf)
        {
            const Sweep& sweep = *options.sweep;
            // Every value must make a case before the first row is printed.
            std::vector<Case> cases(sweep.values.size(), source);
            for (std::size_t i = 0; i < sweep.values.size(); ++i) {
                std::string error;
                if (!SetCaseValue(cases[i], sweep.key, sweep.values[i], error, CaseNumbers::Strict))
                    return UsageError(QStringLiteral("--vary %1=%2: %3")
                                          .arg(QString::fromStdString(sweep.key),
                                              QString::fromStdString(sweep.values[i]), QString::fromStdString(error)));
            }
            QJsonArray rows;
            if (!options.json)
                out_ << (options.check ? CheckCsvHeader(sweep.key) : SweepCsvHeader(options.command, sweep.key))
                     << "\n";
            int status = kExitConverged;
            QElapsedTimer timer;
            timer.start();
            qint64 lastReport = 0;
            const std::size_t count = sweep.values.size();
            for (std::size_t i = 0; i < count; ++i) {
                const Case& varied = cases[i];
                const InputTexts inputs = CaseInputs(varied, startCsf);
                QJsonObject json;
                if (options.check) {
                    const DesignCheck check = CheckDesign(inputs, varied.layerCount);
                    status = std::max(status, ExitStatus(check));
                    if (options.json)
                        json = CheckJson(check, options.casePath, source.title, options.slices);
                    else
                        out_ << CheckCsvRow(sweep.values[i], check) << "\n";
                } else {
                    const Calculation calc = Calculate(options.command, inputs, varied.layerCount);
                    status = std::max(status, ExitStatus(calc));
                    if (options.json)
                        json = CalculationJson(calc, options.casePath, source.title, options.slices);
                    else
                        out_ << SweepCsvRow(sweep.values[i], calc) << "\n";
                }
                if (options.json) {
                    json.insert(QStringLiteral("varied"),
                        QJsonObject { { QStringLiteral("key"), QString::fromStdString(sweep.key) },
                            { QStringLiteral("value"), ReadNumber(sweep.values[i]) } });
                    rows.append(json);
                }
                const qint64 elapsed = timer.elapsed();
                if (elapsed >= 1000 && elapsed - lastReport >= 1000) {
                    lastReport = elapsed;
                    err_ << "latcap-batch: " << i + 1 << " of " << count << " calculations done\n";
                }
            }
            if (lastReport > 0)
                err_ << "latcap-batch: " << count << " of " << count << " calculations done\n";
            if (options.json)
                PrintJson(out_, rows);
            out_.flush();
            return status;
        }

        std::ostream& out_;
        std::ostream& err_;
    };

} // namespace

int ExitStatus(const Calculation& calc)
{
    switch (calc.Status()) {
    case CalcStatus::Converged:
        return kExitConverged;
    case CalcStatus::IterationProblem:
    case CalcStatus::NoValidResult:
    case CalcStatus::ArithmeticProblem:
        return kExitNoCleanResult;
    case CalcStatus::NotEnoughData:
        break;
    }
    return kExitNotEnoughData;
}

int ExitStatus(const DesignCheck& check)
{
    const int worst = std::max(ExitStatus(*check.atDepth), ExitStatus(*check.forLoads));
    if (worst == kExitNotEnoughData || !check.judged)
        return worst;
    return check.ok ? kExitConverged : kExitDesignNotOk;
}

int Run(const QStringList& arguments, std::ostream& out, std::ostream& err)
{
    Runner runner(out, err);
    Options options;
    QString error;
    if (!ParseArguments(arguments, options, error))
        return runner.UsageError(error);
    switch (options.action) {
    case Options::Action::Help:
        out << options.helpText.toStdString();
        return kExitConverged;
    case Options::Action::Version:
        out << VersionLine().toStdString() << "\n";
        return kExitConverged;
    case Options::Action::Tables:
        return runner.WriteTables(options.folder);
    case Options::Action::Calculate:
        break;
    }
    return runner.RunCase(options);
}

} // namespace latcap::batch
