#pragma once

#include "store/FolderLock.h"

#include <QString>

// What the user is told when a vehicle's or a workshop's lock could not be had: held by
// another workstation (named), or no lock file could be made. `name` is the vehicle's number
// or the workshop folder.
namespace LockRefusal {

enum class Scope { Vehicle, Workshop };

QString Text(FolderLock::Result result, Scope scope, const QString& name, const QString& holder,
             const QString& lockPath);
// Text() for `lock` after its Acquire() gave `result`.
QString Text(const FolderLock& lock, FolderLock::Result result, Scope scope, const QString& name);

} // namespace LockRefusal
