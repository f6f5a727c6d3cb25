#pragma once

#include <QString>

// The program data folder: $VELMORA_DATA_DIR when set, otherwise the generic data location
// followed by "Ondrix/Velmora". Its missing levels are made each time it is asked for; a
// failed creation is not reported here (later reads find nothing, writes fail).
QString GetDataFolder();
