#include "app/CVelmoraApp.h"
#include "app/CommandLine.h"

#include <QApplication>

namespace {
void setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Ondrix"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
}
} // namespace

int main(int argc, char** argv)
{
    {
        // --help and --version are answered before the desktop is reached.
        const QCoreApplication terminal(argc, argv);
        setIdentity();
        CommandLine::answer(QCoreApplication::arguments());
    }

    QApplication app(argc, argv);
    setIdentity();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ondrix.Velmora"));

    CVelmoraApp velmora;
    if (!velmora.InitInstance())
        return 1;
    const int result = app.exec();
    velmora.ExitInstance();
    return result;
}
