#pragma once

#include <QString>
#include <QStringList>

// Where the program's own data files (language packs, help page, report stylesheets, icon)
// are found: beside the executable first, as in the build folder, then in the installed
// data folder ../share/velmora relative to the executable, so an install to any prefix
// finds its files.
class DataFiles {
public:
    static QStringList folders();
    // The full path of the first folder's file of that name, or an empty string.
    static QString locate(const QString& fileName);
};
