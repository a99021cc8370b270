#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace latcap::testing {

// What one run of latcap-batch printed and returned.
struct BatchResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline BatchResult RunBatch(const QStringList& arguments, const QString& workDir = {})
{
    QProcess process;
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(LATCAP_BATCH), arguments);
    BatchResult result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "latcap-batch did not finish: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

inline QString CaseFile(const char* name);

// Runs `command` on a case file of the test data with further arguments.
inline BatchResult RunCase(const char* command, const char* caseFile, const QStringList& more = {})
{
    return RunBatch(QStringList { QString::fromLatin1(command), CaseFile(caseFile) } + more);
}

// Names a table row after the `name` it carries.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const
    {
        return row.param.name;
    }
};

inline QString CaseFile(const char* name)
{
    return QStringLiteral(LATCAP_TEST_DATA "/cases/") + QString::fromLatin1(name);
}

} // namespace latcap::testing
