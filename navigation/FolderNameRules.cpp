#include "navigation/FolderNameRules.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"

bool IsPlainFolderName(const QString& name)
{
    if (name.isEmpty() || !name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        // A full stop hides the folder from the tree (and rules out "." and ".."), a slash
        // would write outside the workshop, a control character cannot be shown.
        if (c == u'/' || c == u'.' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

RegistrationNumberFault CheckRegistrationNumber(const QString& number)
{
    if (number.trimmed().isEmpty())
        return RegistrationNumberFault::Missing;
    if (number.size() > kRegistrationNumberChars ||
        number.toUtf8().size() > kRegistrationNumberBytes)
        return RegistrationNumberFault::TooLong;
    if (!IsPlainFolderName(number))
        return RegistrationNumberFault::NotAFolderName;
    return RegistrationNumberFault::None;
}

void WarnRegistrationNumber(RegistrationNumberFault fault, const QString& number, QWidget* parent)
{
    switch (fault) {
    case RegistrationNumberFault::None:
        return;
    case RegistrationNumberFault::Missing:
        Prompts::warn(parent, Lang(StringId::RegistrationNumberMissing));
        return;
    case RegistrationNumberFault::TooLong:
        Prompts::warn(parent, Lang(StringId::RegistrationTooLong));
        return;
    case RegistrationNumberFault::NotAFolderName:
        Prompts::warn(parent, Lang(StringId::BadFolderName).arg(number));
        return;
    }
}
