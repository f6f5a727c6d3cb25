#include "fuzz/FuzzCheck.h"

#include <QTemporaryDir>

namespace Fuzz {

void UseTemporaryDataFolder()
{
    static QTemporaryDir folder;
    qputenv("VELMORA_DATA_DIR", folder.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
}

} // namespace Fuzz

#include "lang/LanguagePack.h"

namespace Fuzz {

void LoadLanguagePack()
{
    LanguagePack::setSearchPaths({QStringLiteral(VELMORA_PACK_DIR)});
    FUZZ_CHECK(LanguagePack::current().load(QStringLiteral("Velmora_ru")));
}

} // namespace Fuzz
