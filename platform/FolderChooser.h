#pragma once

#include <QString>

#include <deque>
#include <optional>

class QWidget;

// The desktop's folder chooser. Tests queue the folder the "user" picks (an empty optional
// stands for Cancel).
class FolderChooser {
public:
    // The chosen folder's path, or nothing when the user cancelled.
    static std::optional<QString> choose(QWidget* parent, const QString& caption);

    static void pushChoice(std::optional<QString> folder);
};
