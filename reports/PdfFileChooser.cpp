#include "reports/PdfFileChooser.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

#include <QFileDialog>

#include <deque>

namespace {
std::deque<std::optional<QString>>& queued()
{
    static std::deque<std::optional<QString>> choices;
    return choices;
}
} // namespace

std::optional<QString> PdfFileChooser::choose(QWidget* parent, const QString& proposedPath)
{
    if (!queued().empty()) {
        std::optional<QString> choice = queued().front();
        queued().pop_front();
        return choice;
    }
    QString path = QFileDialog::getSaveFileName(parent, Lang(StringId::SavePdfCaption),
                                                proposedPath, Lang(StringId::PdfFileFilter));
    if (path.isEmpty())
        return std::nullopt;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

void PdfFileChooser::pushChoice(std::optional<QString> path)
{
    queued().push_back(std::move(path));
}
