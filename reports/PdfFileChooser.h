#pragma once

#include <QString>

#include <optional>

class QWidget;

// The desktop's save dialog for a PDF file. Tests queue the file the "user" picks (an empty
// optional stands for Cancel).
class PdfFileChooser {
public:
    static std::optional<QString> choose(QWidget* parent, const QString& proposedPath);
    static void pushChoice(std::optional<QString> path);
};
