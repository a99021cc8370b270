// latcap: the window for sizing short rigid piles under lateral load.

#include "DesktopPlatform.h"
#include "frmLatcap.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("latcap"));
    latcap::DesktopPlatform platform;
    latcap::frmLatcap window(platform);
    window.show();
    return QApplication::exec();
}
