#include "platform/FolderChooser.h"

#include <QFileDialog>

namespace {
std::deque<std::optional<QString>>& choices()
{
    static std::deque<std::optional<QString>> queued;
    return queued;
}
} // namespace

std::optional<QString> FolderChooser::choose(QWidget* parent, const QString& caption)
{
    if (!choices().empty()) {
        auto choice = choices().front();
        choices().pop_front();
        return choice;
    }
    const QString path = QFileDialog::getExistingDirectory(parent, caption);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void FolderChooser::pushChoice(std::optional<QString> folder)
{
    choices().push_back(std::move(folder));
}
