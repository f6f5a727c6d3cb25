#include "navigation/CDirDialog.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/FolderChooser.h"

#include <QFileInfo>

int CDirDialog::DoBrowse(QWidget* owner)
{
    const std::optional<QString> choice =
        FolderChooser::choose(owner, Lang(StringId::FolderChooserTitle));
    if (!choice || choice->isEmpty() || !QFileInfo(*choice).isDir())
        return 0;
    m_path = *choice;
    return 1;
}
