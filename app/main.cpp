// latcap: the window for sizing short rigid piles under lateral load.

#include "DesktopPlatform.h"
#include "frmLatcap.h"

#include <QApplication>
#include <QCommandLineParser>

#include <algorithm>
#include <string_view>

namespace {

void SetUp(QCommandLineParser& parser)
{
    QCoreApplication::setApplicationName(QStringLiteral("latcap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LATCAP_VERSION));
    parser.setApplicationDescription(QStringLiteral("Sizes short rigid piles under lateral load by Brinch Hansen's "
                                                    "method."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A case file to open at start."), QStringLiteral("[FILE]"));
}

// Help and the version need no window, so they work without a display.
bool AsksForTextOnly(int argc, char* argv[])
{
    return std::any_of(argv + 1, argv + argc, [](const char* argument) {
        const std::string_view text(argument);
        return text == "-h" || text == "--help" || text == "-?" || text == "--help-all" || text == "-v"
            || text == "--version";
    });
}

} // namespace

int main(int argc, char* argv[])
{
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        SetUp(parser);
        parser.process(app); // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    SetUp(parser);
    parser.process(app);

    latcap::DesktopPlatform platform;
    latcap::frmLatcap window(platform);
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenCase(parser.positionalArguments().constFirst());
    return QApplication::exec();
}
