#include "lang/LanguagePack.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test binary runs with a QApplication (offscreen under CTest), the packs of the
// build tree, and a data folder that is a throw-away temporary folder.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataDir;
    qputenv("VELMORA_DATA_DIR", dataDir.filePath(QStringLiteral("data")).toUtf8());
    // Remembered window geometry (QSettings) goes to the temporary folder too.
    qputenv("XDG_CONFIG_HOME", dataDir.filePath(QStringLiteral("config")).toUtf8());

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ondrix"));
    QApplication::setApplicationName(QStringLiteral("VelmoraTests"));
    LanguagePack::setSearchPaths({QStringLiteral(VELMORA_PACK_DIR)});
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
