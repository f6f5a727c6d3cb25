#include "app/LanguageChoice.h"

#include <QLocale>
#include <QSettings>

const QString LanguageChoice::kRussian = QStringLiteral("Velmora_ru");
const QString LanguageChoice::kEnglish = QStringLiteral("Velmora_en");

namespace {
const QString kLanguageKey = QStringLiteral("language/pack");

// The locale of messages as the C library takes it from the environment.
QString messagesLocale()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QLocale::system().name();
}
} // namespace

QString LanguageChoice::startPack()
{
    const QString remembered = QSettings().value(kLanguageKey).toString();
    if (remembered == kRussian || remembered == kEnglish)
        return remembered;
    return packForLocale(messagesLocale());
}

void LanguageChoice::remember(const QString& pack)
{
    QSettings().setValue(kLanguageKey, pack);
}

QString LanguageChoice::packForLocale(const QString& localeName)
{
    return localeName.startsWith(QStringLiteral("ru")) ? kRussian : kEnglish;
}
