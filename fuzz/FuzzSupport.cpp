#include "fuzz/FuzzCheck.h"

#include "store/AtomicFileWriter.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace Fuzz {

void UseTemporaryDataFolder()
{
    static QTemporaryDir folder;
    qputenv("VELMORA_DATA_DIR", folder.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
}

void StartCoreApplication(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    UseTemporaryDataFolder();
}

QString ScratchPath(const QString& name)
{
    static QTemporaryDir folder;
    return folder.filePath(name);
}

QString WriteScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = ScratchPath(name);
    FUZZ_CHECK(AtomicFileWriter::replace(path, bytes));
    return path;
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
