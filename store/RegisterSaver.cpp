#include "store/RegisterSaver.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"
#include "store/WorkshopRegister.h"

bool SaveRegisterOrWarn(const WorkshopRegister& reg, QWidget* parent)
{
    const QString path = WorkshopRegister::serviceFilePath();
    if (reg.save(path))
        return true;
    Prompts::warn(parent, Lang(StringId::RegisterSaveFailed).arg(path));
    return false;
}
