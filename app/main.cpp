#include "app/CVelmoraApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ondrix"));
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));

    CVelmoraApp velmora;
    if (!velmora.InitInstance())
        return 1;
    const int result = app.exec();
    velmora.ExitInstance();
    return result;
}
