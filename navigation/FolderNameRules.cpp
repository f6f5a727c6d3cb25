#include "navigation/FolderNameRules.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"

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
    case RegistrationNumberFault::NoCodePage:
        Prompts::warn(parent, Lang(StringId::NoCodePageHolds).arg(number));
        return;
    }
}
