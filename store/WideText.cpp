#include "store/WideText.h"

#include "store/LittleEndian.h"

QString CutUnits(const QString& text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype end = limit;
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end);
}

QString DecodeWideText(const std::uint8_t* field, std::size_t units)
{
    QString text;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(LittleEndian::read(field + 2 * i, 2));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

void EncodeWideText(const QString& text, std::uint8_t* field, std::size_t units)
{
    const QString kept = CutUnits(text, static_cast<qsizetype>(units));
    for (std::size_t i = 0; i < units; ++i) {
        const auto index = static_cast<qsizetype>(i);
        const char16_t unit = index < kept.size() ? kept.at(index).unicode() : 0;
        LittleEndian::write(field + 2 * i, unit, 2);
    }
}
