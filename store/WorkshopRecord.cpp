#include "store/WorkshopRecord.h"

#include "store/LittleEndian.h"

namespace {
struct FieldPlace {
    std::size_t offset;
    std::size_t chars;
};

FieldPlace placeOf(WorkshopRecord::Field f)
{
    using L = WorkshopRecord::Layout;
    switch (f) {
    case WorkshopRecord::Field::Name:
        return {L::NameOffset, L::NameChars};
    case WorkshopRecord::Field::Address:
        return {L::AddressOffset, L::AddressChars};
    case WorkshopRecord::Field::Phone:
        return {L::PhoneOffset, L::PhoneChars};
    case WorkshopRecord::Field::Index:
        return {L::IndexOffset, L::IndexChars};
    }
    return {L::NameOffset, L::NameChars};
}
} // namespace

QString WorkshopRecord::field(Field f) const
{
    const FieldPlace place = placeOf(f);
    QString text;
    for (std::size_t i = 0; i < place.chars; ++i) {
        const auto unit =
            static_cast<char16_t>(LittleEndian::read(bytes.data() + place.offset + 2 * i, 2));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

void WorkshopRecord::setField(Field f, const QString& text)
{
    const FieldPlace place = placeOf(f);
    qsizetype length = std::min<qsizetype>(text.size(), capacity(f));
    // Never keep half of a surrogate pair at the cut.
    if (length < text.size() && length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    for (std::size_t i = 0; i < place.chars; ++i) {
        const std::uint16_t unit =
            static_cast<qsizetype>(i) < length ? text.at(static_cast<qsizetype>(i)).unicode() : 0;
        LittleEndian::write(bytes.data() + place.offset + 2 * i, unit, 2);
    }
}

int WorkshopRecord::capacity(Field f)
{
    return static_cast<int>(placeOf(f).chars) - 1;
}

WorkshopRecord& CurrentWorkshopRecord()
{
    static WorkshopRecord record;
    return record;
}
