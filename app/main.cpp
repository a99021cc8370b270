// latcap: the window for sizing short rigid piles under lateral load.

#include "DesktopPlatform.h"
#include "frmLatcap.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("latcap"));
    QApplication::setApplicationVersion(QStringLiteral(LATCAP_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sizes short rigid piles under lateral load by Brinch Hansen's "
                                                    "method."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A case file to open at start."), QStringLiteral("[FILE]"));
    parser.process(app);

    latcap::DesktopPlatform platform;
    latcap::frmLatcap window(platform);
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenCase(parser.positionalArguments().constFirst());
    return QApplication::exec();
}
