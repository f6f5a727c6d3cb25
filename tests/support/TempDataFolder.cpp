#include "tests/support/TempDataFolder.h"

TempDataFolder::TempDataFolder()
    : m_previous(qgetenv("VELMORA_DATA_DIR"))
{
    qputenv("VELMORA_DATA_DIR", m_dir.filePath(QStringLiteral("data")).toUtf8());
}

TempDataFolder::~TempDataFolder()
{
    qputenv("VELMORA_DATA_DIR", m_previous);
}
