#include "lang/DialogTemplate.h"

#include "lang/LanguagePack.h"
#include "lang/PackResources.h"
#include "lang/StringIds.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtDebug>

#include <utility>

QWidget* DialogTemplate::install(QDialog* dialog, int templateId)
{
    QWidget* content = PackResources::loadDialog(templateId, dialog);
    if (!content) {
        qCritical() << "language pack" << LanguagePack::current().loadedName()
                    << "has no dialog template" << templateId;
        return nullptr;
    }
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    dialog->setWindowTitle(content->windowTitle());

    if (auto* buttons = content->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
        const std::pair<QDialogButtonBox::StandardButton, int> texts[] = {
            {QDialogButtonBox::Ok, StringId::ButtonOk},
            {QDialogButtonBox::Cancel, StringId::ButtonCancel},
            {QDialogButtonBox::Close, StringId::ButtonClose}};
        for (const auto& [which, textId] : texts) {
            QPushButton* button = buttons->button(which);
            if (button && !Lang(textId).isEmpty())
                button->setText(Lang(textId));
        }
    } else {
        qCritical() << "dialog template" << templateId << "has no buttonBox";
    }
    // The designed size is the starting size; the layout keeps it from getting smaller
    // than the content needs.
    dialog->resize(content->size().expandedTo(dialog->sizeHint()));
    return content;
}

void DialogTemplate::reportMissing(QDialog* dialog, int controlId)
{
    qCritical() << "dialog" << dialog->windowTitle() << "lacks control" << controlId;
}
