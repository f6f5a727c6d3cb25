#include "navigation/NumberMatch.h"

namespace {

bool IsDash(char16_t c)
{
    // Hyphen-minus, the Unicode hyphens and dashes, and the minus sign.
    return c == u'-' || (c >= u'\u2010' && c <= u'\u2015') || c == u'\u2212';
}

// The Latin letter an upper-case Cyrillic plate letter looks like; the letter itself otherwise.
char16_t LatinLookAlike(char16_t c)
{
    switch (c) {
    case u'А':
        return u'A';
    case u'В':
        return u'B';
    case u'Е':
        return u'E';
    case u'К':
        return u'K';
    case u'М':
        return u'M';
    case u'Н':
        return u'H';
    case u'О':
        return u'O';
    case u'Р':
        return u'P';
    case u'С':
        return u'C';
    case u'Т':
        return u'T';
    case u'У':
        return u'Y';
    case u'Х':
        return u'X';
    default:
        return c;
    }
}

} // namespace

QString NormalizedNumber(const QString& text)
{
    QString key;
    key.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace() || IsDash(c.unicode()))
            continue;
        key.append(QChar(LatinLookAlike(c.toUpper().unicode())));
    }
    return key;
}
