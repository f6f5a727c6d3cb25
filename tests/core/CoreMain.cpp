#include "lang/LanguagePack.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// No QApplication and no display: what runs here runs on a worker or a server as well.
int main(int argc, char** argv)
{
    QTemporaryDir dataDir;
    qputenv("VELMORA_DATA_DIR", dataDir.filePath(QStringLiteral("data")).toUtf8());
    QCoreApplication app(argc, argv);
    LanguagePack::setSearchPaths({QStringLiteral(VELMORA_PACK_DIR)});
    LanguagePack::current().load(QStringLiteral("Velmora_en"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
