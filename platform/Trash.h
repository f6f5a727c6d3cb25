#pragma once

#include <QString>

// The desktop's trash (the freedesktop.org layout that file managers share): a folder moved
// there can be restored from the file manager.
class Trash {
public:
    // Whether the file or folder at `path` can go to a trash: the user's own trash when it is
    // on the file system of the home folder, else a trash at the top of its own file system
    // (one there already, or one that can be made).
    static bool canTake(const QString& path);
    // Moves it there; false when that failed (it is then left where it was).
    static bool move(const QString& path);
};
