#include "lang/DisplayDate.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

#include <QLocale>

QString DisplayDate(const QDate& date)
{
    const bool russian = LanguagePack::current().loadedName().endsWith(QStringLiteral("_ru"));
    const QLocale locale(russian ? QLocale::Russian : QLocale::English);
    const QString format = Lang(StringId::DateFormat);
    return locale.toString(date, format.isEmpty() ? QStringLiteral("dd.MM.yyyy") : format);
}

QString DisplayDayStamp(const QString& stamp)
{
    const QDate date = QDate::fromString(stamp, QStringLiteral("yyyyMMdd"));
    return date.isValid() && stamp.size() == 8 ? DisplayDate(date) : stamp;
}
