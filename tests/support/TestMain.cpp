#include "lang/LanguagePack.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A language switch is remembered for the next start; every test starts as the first start.
class ForgetLanguageChoice : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        QSettings().remove(QStringLiteral("language"));
    }
};
} // namespace

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
    // So does the trash that deleted folders are moved to.
    qputenv("XDG_DATA_HOME", dataDir.filePath(QStringLiteral("share")).toUtf8());
    // A first start follows the desktop's language; the tests start as on a Russian desktop
    // whatever the machine they run on.
    qunsetenv("LC_ALL");
    qputenv("LC_MESSAGES", "ru_RU.UTF-8");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ondrix"));
    QApplication::setApplicationName(QStringLiteral("VelmoraTests"));
    LanguagePack::setSearchPaths({QStringLiteral(VELMORA_PACK_DIR)});
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));

    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetLanguageChoice);
    return RUN_ALL_TESTS();
}
