#include "reports/PdfFileChooser.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"

#include <QFileDialog>
#include <QFileInfo>

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
    return chooseFile(parent, proposedPath, Lang(StringId::SavePdfCaption),
                      Lang(StringId::PdfFileFilter), QStringLiteral("pdf"));
}

std::optional<QString> PdfFileChooser::chooseFile(QWidget* parent, const QString& proposedPath,
                                                  const QString& caption, const QString& filter,
                                                  const QString& suffix)
{
    QString path;
    if (!queued().empty()) {
        const std::optional<QString> choice = queued().front();
        queued().pop_front();
        if (!choice)
            return std::nullopt;
        path = *choice;
    } else {
        QFileDialog dialog(parent, caption, proposedPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The suffix goes on before the name is used. The replace question is asked below,
        // once, about the very file that will be written.
        dialog.setDefaultSuffix(suffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (ModalRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        path = dialog.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return std::nullopt;
    if (!path.endsWith(u'.' + suffix, Qt::CaseInsensitive))
        path += u'.' + suffix;
    if (QFileInfo::exists(path) &&
        Prompts::askYesNo(parent, Lang(StringId::PdfReplaceQuestion).arg(path)) !=
            Prompts::Answer::Yes)
        return std::nullopt;
    return path;
}

void PdfFileChooser::pushChoice(std::optional<QString> path)
{
    queued().push_back(std::move(path));
}
