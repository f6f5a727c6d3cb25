#include "navigation/LockRefusal.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"

namespace LockRefusal {

QString Text(FolderLock::Result result, Scope scope, const QString& name, const QString& holder,
             const QString& lockPath)
{
    if (result == FolderLock::Result::Failed)
        return Lang(StringId::LockFileFailed).arg(lockPath);
    return Lang(scope == Scope::Vehicle ? StringId::VehicleLockedElsewhere
                                        : StringId::WorkshopLockedElsewhere)
        .arg(name, holder.isEmpty() ? Lang(StringId::UnknownWorkstation) : holder);
}

void Warn(QWidget* window, const FolderLock& lock, FolderLock::Result result, Scope scope,
          const QString& name)
{
    Prompts::warn(window, Text(result, scope, name, lock.Holder(), lock.Path()));
}

} // namespace LockRefusal
