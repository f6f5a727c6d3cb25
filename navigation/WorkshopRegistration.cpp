#include "navigation/WorkshopRegistration.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/cTree.h"
#include "platform/Prompts.h"
#include "store/EnsureWorkshopRecord.h"
#include "store/MadeFolders.h"
#include "store/RegisterSaver.h"
#include "store/WorkshopRegister.h"

bool RegisterWorkshopFolder(const QString& path, WorkshopRegister& reg, cTree& tree,
                            QWidget* parent, const QStringList& madeFolders)
{
    // A path the register file cannot hold would make every later save of the register fail.
    if (!WorkshopRegister::canHoldPath(path)) {
        Prompts::warn(parent, Lang(StringId::PathHasControlCharacters).arg(path) +
                                  RemoveMadeFolders(madeFolders));
        return false;
    }
    WorkshopEntry entry;
    entry.folderPath = path;
    if (!EnsureWorkshopRecord(entry, parent, madeFolders))
        return false;
    reg.entries().push_back(std::move(entry));
    // A failed save is reported by the saver; the workshop stays registered for this run.
    SaveRegisterOrWarn(reg, parent);
    tree.Rebuild();
    return true;
}
