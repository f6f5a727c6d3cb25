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

const QString kSuffix = QStringLiteral("pdf");
} // namespace

std::optional<QString> PdfFileChooser::choose(QWidget* parent, const QString& proposedPath)
{
    QString path;
    if (!queued().empty()) {
        const std::optional<QString> choice = queued().front();
        queued().pop_front();
        if (!choice)
            return std::nullopt;
        path = *choice;
    } else {
        QFileDialog dialog(parent, Lang(StringId::SavePdfCaption), proposedPath,
                           Lang(StringId::PdfFileFilter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The suffix goes on before the name is used. The replace question is asked below,
        // once, about the very file that will be written.
        dialog.setDefaultSuffix(kSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (ModalRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        path = dialog.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return std::nullopt;
    if (!path.endsWith(u'.' + kSuffix, Qt::CaseInsensitive))
        path += u'.' + kSuffix;
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
