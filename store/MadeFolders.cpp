#include "store/MadeFolders.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/AtomicFileWriter.h"

QString RemoveMadeFolders(const QStringList& folders)
{
    QString left;
    for (const QString& folder : folders)
        if (!AtomicFileWriter::remove(folder))
            left += u'\n' + Lang(StringId::FolderDeleteFailed).arg(folder);
    return left;
}
