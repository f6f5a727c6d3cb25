#pragma once

#include <QString>

// Which language pack the program starts with: the one the user chose last time, or, on a
// first start, the desktop's language (Russian for a Russian locale, English otherwise).
class LanguageChoice {
public:
    static QString startPack();
    // Remembered for the next start.
    static void remember(const QString& pack);
    // The pack for a POSIX locale name such as "ru_RU.UTF-8".
    static QString packForLocale(const QString& localeName);

    static const QString kRussian;
    static const QString kEnglish;
};
