#include "store/LockRefusal.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

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

QString Text(const FolderLock& lock, FolderLock::Result result, Scope scope, const QString& name)
{
    return Text(result, scope, name, lock.Holder(), lock.Path());
}

} // namespace LockRefusal
