#include "navigation/NumberMatch.h"

namespace {

// Upper-case Cyrillic letter and the Latin letter it looks like.
struct LookAlike {
    char16_t cyrillic;
    char16_t latin;
};
constexpr LookAlike kLookAlikes[] = {
    {u'\u0410', u'A'}, {u'\u0412', u'B'}, {u'\u0415', u'E'}, {u'\u041A', u'K'},
    {u'\u041C', u'M'}, {u'\u041D', u'H'}, {u'\u041E', u'O'}, {u'\u0420', u'P'},
    {u'\u0421', u'C'}, {u'\u0422', u'T'}, {u'\u0423', u'Y'}, {u'\u0425', u'X'},
};

bool IsDash(QChar c)
{
    // The hyphen-minus, the Unicode hyphens and dashes (U+2010 to U+2015) and the minus sign,
    // which word processors put in when a number is pasted from a document.
    return c == u'-' || (c.unicode() >= 0x2010 && c.unicode() <= 0x2015) || c == u'\u2212';
}

} // namespace

QString NormalizedNumber(QStringView text)
{
    QString key;
    key.reserve(text.size());
    for (const QChar c : text.toString().toUpper()) {
        if (c.isSpace() || IsDash(c))
            continue;
        QChar folded = c;
        for (const LookAlike& pair : kLookAlikes) {
            if (c.unicode() == pair.cyrillic) {
                folded = QChar(pair.latin);
                break;
            }
        }
        key.append(folded);
    }
    return key;
}

bool SameRegistrationNumber(QStringView a, QStringView b)
{
    return NormalizedNumber(a) == NormalizedNumber(b);
}
