#include "batch_run.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <iostream>
#include <memory>
#include <string_view>

#include <unistd.h>

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
    // Only a diagram or a report needs fonts and painting, and so a
    // (window-less) GUI application.
    bool plots = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        plots = plots || argument.rfind("--plot", 0) == 0 || argument.rfind("--report", 0) == 0;
    }
    if (plots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app
        = plots ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("latcap-batch"));
    const int status
        = latcap::batch::Run(QCoreApplication::arguments(), std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    // Nothing may be left unwritten unnoticed; a failure already told is not
    // told twice.
    errno = 0;
    if (std::cout && !latcap::batch::Delivered(std::cout, std::cerr))
        return latcap::batch::kExitUsageOrFileError;
    return status;
}
