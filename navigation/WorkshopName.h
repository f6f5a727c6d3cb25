#pragma once

#include "store/WorkshopRegister.h"

#include <QString>

// The name of the workshop record, else the folder's own name, else the whole path.
QString WorkshopDisplayName(const WorkshopEntry& entry);
