#include "navigation/FindText.h"

#include "navigation/NumberMatch.h"

namespace {

QString DigitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit())
            digits.append(c);
    }
    return digits;
}

// "+7 (863) 201-45-67" is a phone number; "A123" is not.
bool WrittenAsPhone(const QString& text)
{
    for (const QChar c : text) {
        if (!c.isDigit() && !c.isSpace() && !QStringView(u"+()-.").contains(c))
            return false;
    }
    return true;
}

} // namespace

FindKeys FindKeys::fold(const QString& number, const QString& vin, const QString& owner,
                        const QString& phone)
{
    return {NormalizedNumber(number),
            NormalizedNumber(vin),
            NormalizedNumber(owner),
            DigitsOf(phone),
            owner,
            phone};
}

FindText::FindText(const QString& typed) : m_key(NormalizedNumber(typed))
{
    if (WrittenAsPhone(typed))
        m_digits = DigitsOf(typed);
}

bool FindText::matches(const FindKeys& keys) const
{
    return keys.number.contains(m_key) || keys.vin.contains(m_key) || keys.owner.contains(m_key) ||
           (!m_digits.isEmpty() && keys.phone.contains(m_digits));
}
