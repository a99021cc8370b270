#include "batch_run.h"

#include "batch_case.h"
#include "batch_files.h"
#include "batch_output.h"

#include "FileFormats.h"
#include "Messages.h"
#include "NumberText.h"
#include "SaveFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <thread>

namespace latcap::batch {
namespace {

    // A line on the terminal that says how far a sweep has come, how fast it
    // goes and how long it will take; nothing when standard error is not a
    // terminal, so that it never lands in a file.
    class Progress {
    public:
        Progress(std::ostream& err, bool shown, std::size_t rows)
            : err_(err)
            , shown_(shown)
            , rows_(rows)
        {
            timer_.start();
        }

        void Done(std::size_t done)
        {
            const qint64 elapsed = timer_.elapsed();
            if (!shown_ || elapsed - last_ < 500)
                return;
            last_ = elapsed;
            const double rate = double(done) * 1000.0 / double(std::max<qint64>(elapsed, 1));
            const double left = rate > 0 ? double(rows_ - done) / rate : 0;
            err_ << "\rlatcap-batch: " << done << " of " << rows_ << " rows, " << static_cast<long long>(rate)
                 << " rows/s, " << static_cast<long long>(left) << " s left   " << std::flush;
            written_ = true;
        }

        void Finish()
        {
            if (written_)
                err_ << "\n";
        }

    private:
        std::ostream& err_;
        bool shown_;
        std::size_t rows_;
        QElapsedTimer timer_;
        qint64 last_ = 0;
        bool written_ = false;
    };

    // The runs of one command line, writing to its two streams.
    class Runner {
    public:
        Runner(std::ostream& out, std::ostream& err, bool progress)
            : out_(out)
            , err_(err)
            , progress_(progress)
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
            const QDir dir(folder);
            for (const TableFile& file : CoefficientTableFiles()) {
                QString error;
                if (!SaveFileAtomically(dir.filePath(QString::fromLatin1(file.name)),
                        BytesWriter(QByteArray::fromStdString(file.text)), error))
                    return FileError(error);
            }
            return kExitConverged;
        }

        int RunCase(const Options& options)
        {
            // An output must not replace what it is computed from.
            for (const auto& [option, path] : { std::pair { "details", &options.details },
                     std::pair { "plot", &options.plot }, std::pair { "report", &options.report } }) {
                if (!path->isEmpty() && SameFile(*path, options.casePath))
                    return UsageError(QStringLiteral("--%1 %2 is the case file being read")
                                          .arg(QLatin1String(option), QDir::toNativeSeparators(*path)));
            }
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
            if (!options.sweeps.empty())
                return RunSweep(options, source, startCsf);

            const InputTexts inputs = CaseInputs(source, startCsf);
            std::shared_ptr<const DesignCheck> check;
            std::shared_ptr<const Calculation> shared;
            int status = kExitConverged;
            errno = 0;
            const FactorSet factors = CaseFactorSet(source);
            if (options.check) {
                check = std::make_shared<const DesignCheck>(CheckDesign(inputs, factors));
                shared = check->atDepth;
                for (const std::string& line : CheckMessages(*check))
                    err_ << line << "\n";
                if (options.json) {
                    PrintJson(out_, CheckJson(*check, factors, options.casePath, source.title, options.slices));
                } else {
                    for (const std::string& line : CheckLines(*check))
                        out_ << line << "\n";
                    if (!factors.None())
                        out_ << FactorsLine(factors, check->factors) << "\n";
                }
                status = ExitStatus(*check);
            } else {
                shared = std::make_shared<const Calculation>(CalculateDesign(options.command, inputs, factors));
                for (const std::string& line : ErrorLines(*shared))
                    err_ << line << "\n";
                if (options.json) {
                    PrintJson(out_, CalculationJson(*shared, options.casePath, source.title, options.slices, &factors));
                } else {
                    for (const std::string& line : shared->OutputLines())
                        out_ << line << "\n";
                    if (!factors.None() && shared->HasResults())
                        out_ << FactorsLine(factors, shared->factors) << "\n";
                }
                status = ExitStatus(*shared);
            }
            if (!Delivered(out_, err_))
                return kExitUsageOrFileError;
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
                    ReportWriter(shared, title, csfSource, source.job, check, CaseFactorSet(source).name));
            }
            return status;
        }

    private:
        // Writes the rows of the shard's part one block at a time, in order,
        // each block computed on the jobs' threads: memory stays that of one
        // block whatever the number of rows.
        int RunSweep(const Options& options, const Case& source, const std::string& startCsf)
        {
            const std::vector<Sweep>& sweeps = options.sweeps;
            std::vector<std::string> keys;
            for (const Sweep& sweep : sweeps)
                keys.push_back(sweep.key);
            // A row copies only what a calculation reads, never the title or
            // the job details, however long they are.
            Case base = source;
            base.title.clear();
            base.job = {};
            // Every value must make a case before the first row is printed.
            for (const Sweep& sweep : sweeps) {
                Case scratch = base;
                for (std::size_t i = 0; i < sweep.count; ++i) {
                    std::string error;
                    const std::string value = sweep.Value(i);
                    if (!SetCaseValue(scratch, sweep.key, value, error, CaseNumbers::Strict))
                        return UsageError(QStringLiteral("--vary %1=%2: %3")
                                              .arg(QString::fromStdString(sweep.key), QString::fromStdString(value),
                                                  QString::fromStdString(error)));
                }
            }
            const FactorSet factors = CaseFactorSet(base);
            if (std::string error; !KeysUsed(sweeps, base.layerCount, error, factors.name == "custom"))
                return UsageError(QString::fromStdString(error));
            // A column of the pile's stiffness when some row gives EI.
            const bool stiffness = !base.ei.empty()
                || std::any_of(sweeps.begin(), sweeps.end(), [](const Sweep& sweep) { return sweep.name == "ei"; });
            const std::size_t first = options.shard.First(options.rows);
            const std::size_t last = options.shard.Last(options.rows);
            const bool firstPart = options.shard.part == 1;
            const bool lastPart = options.shard.part == options.shard.parts;
            errno = 0;
            if (firstPart)
                out_ << (options.json   ? std::string("[")
                        : options.check ? CheckCsvHeader(keys, !factors.None(), stiffness)
                                        : SweepCsvHeader(options.command, keys, !factors.None(), stiffness))
                     << "\n";
            if (!out_) {
                Delivered(out_, err_);
                return kExitUsageOrFileError;
            }

            struct Row {
                std::string text;
                int status = kExitConverged;
            };
            auto compute = [&](std::size_t index) {
                const std::vector<std::string> values = RowValues(sweeps, index);
                Case varied = base;
                for (std::size_t k = 0; k < sweeps.size(); ++k) {
                    std::string ignored;
                    SetCaseValue(varied, keys[k], values[k], ignored, CaseNumbers::Strict);
                }
                const InputTexts inputs = CaseInputs(varied, startCsf);
                const FactorSet rowFactors = CaseFactorSet(varied);
                Row row;
                QJsonObject json;
                if (options.check) {
                    const DesignCheck check = CheckDesign(inputs, rowFactors);
                    row.status = ExitStatus(check);
                    if (options.json)
                        json = CheckJson(check, rowFactors, options.casePath, source.title, options.slices);
                    else
                        row.text = CheckCsvRow(values, check, !factors.None(), stiffness) + "\n";
                } else {
                    const Calculation calc = CalculateDesign(options.command, inputs, rowFactors);
                    row.status = ExitStatus(calc);
                    if (options.json)
                        json = CalculationJson(calc, options.casePath, source.title, options.slices, &rowFactors);
                    else
                        row.text = SweepCsvRow(values, calc, !factors.None(), stiffness) + "\n";
                }
                if (options.json) {
                    json.insert(QStringLiteral("varied"), VariedJson(keys, values));
                    // Rows are joined by a comma, whichever part they fall in.
                    row.text = (index > 0 ? ",\n" : "") + JsonArrayElement(json);
                }
                return row;
            };

            int status = kExitConverged;
            Progress progress(err_, progress_, last - first);
            const std::size_t jobs = options.jobs;
            const std::size_t block = std::max<std::size_t>(64, 16 * jobs);
            std::vector<Row> rows;
            for (std::size_t begin = first; begin < last; begin += block) {
                const std::size_t end = std::min(last, begin + block);
                rows.assign(end - begin, {});
                auto work = [&](std::size_t thread) {
                    for (std::size_t i = begin + thread; i < end; i += jobs)
                        rows[i - begin] = compute(i);
                };
                if (jobs == 1) {
                    work(0);
                } else {
                    std::vector<std::thread> threads;
                    for (std::size_t t = 0; t < jobs; ++t)
                        threads.emplace_back(work, t);
                    for (std::thread& thread : threads)
                        thread.join();
                }
                errno = 0; // a row's calculation may have set it
                for (const Row& row : rows) {
                    out_ << row.text;
                    status = std::max(status, row.status);
                }
                // No further rows once they cannot be written.
                if (!out_.flush()) {
                    progress.Finish();
                    Delivered(out_, err_);
                    return kExitUsageOrFileError;
                }
                progress.Done(end - first);
            }
            if (options.json && lastPart)
                out_ << "\n]\n";
            progress.Finish();
            return Delivered(out_, err_) ? status : kExitUsageOrFileError;
        }

        std::ostream& out_;
        std::ostream& err_;
        bool progress_ = false;
    };

} // namespace

bool Delivered(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out)
        return true;
    err << "latcap-batch: standard output could not be written"
        << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << "\n";
    return false;
}

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
    if (check.Status() == CalcStatus::NotEnoughData)
        return kExitNotEnoughData;
    if (!check.judged)
        return kExitNoCleanResult;
    return check.ok ? kExitConverged : kExitDesignNotOk;
}

int Run(const QStringList& arguments, std::ostream& out, std::ostream& err, bool progress)
{
    Runner runner(out, err, progress);
    Options options;
    QString error;
    if (!ParseArguments(arguments, options, error))
        return runner.UsageError(error);
    switch (options.action) {
    case Options::Action::Help:
        errno = 0;
        out << options.helpText.toStdString();
        return Delivered(out, err) ? kExitConverged : kExitUsageOrFileError;
    case Options::Action::Version:
        errno = 0;
        out << VersionLine().toStdString() << "\n";
        return Delivered(out, err) ? kExitConverged : kExitUsageOrFileError;
    case Options::Action::Tables:
        return runner.WriteTables(options.folder);
    case Options::Action::Calculate:
        break;
    }
    return runner.RunCase(options);
}

} // namespace latcap::batch
