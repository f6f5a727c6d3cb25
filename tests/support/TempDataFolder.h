#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the program's data folder ($VELMORA_DATA_DIR) at a fresh temporary folder for the
// lifetime of the object, so no test ever touches the user's real data.
class TempDataFolder {
public:
    TempDataFolder();
    ~TempDataFolder();

    QString path() const { return m_dir.path(); }
    // A path inside the temporary folder (not created).
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
