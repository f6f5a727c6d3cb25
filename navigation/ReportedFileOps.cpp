#include "navigation/ReportedFileOps.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QFileInfo>

bool CreateFolderOrWarn(const QString& folder, QWidget* parent)
{
    CreateFolder(folder);
    if (QFileInfo(folder).isDir())
        return true;
    Prompts::warn(parent, Lang(StringId::FolderCreateFailed).arg(folder));
    return false;
}

bool WriteRecordOrWarn(const QString& path, std::span<const std::uint8_t> payload, QWidget* parent)
{
    if (WriteRecordFile(path, payload))
        return true;
    Prompts::warn(parent, Lang(StringId::FileWriteFailed).arg(path));
    return false;
}
