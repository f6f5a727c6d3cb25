#pragma once

#include <QString>

#include <optional>

class QWidget;

// The desktop's save dialog for a PDF file. The name gets ".pdf" when it has no such suffix,
// and an existing file of that name is replaced only when the user says so. Tests answer the
// dialog through ModalRunner, or queue the name the "user" picks (an empty optional stands
// for Cancel).
class PdfFileChooser {
public:
    static std::optional<QString> choose(QWidget* parent, const QString& proposedPath);
    // The same dialog, with the same replace question and test queue, for a file of another
    // kind: `suffix` is the extension without its full stop.
    static std::optional<QString> chooseFile(QWidget* parent, const QString& proposedPath,
                                             const QString& caption, const QString& filter,
                                             const QString& suffix);
    static void pushChoice(std::optional<QString> path);
};
