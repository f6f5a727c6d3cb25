#include "store/WorkshopRecord.h"

#include "store/WideText.h"

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
    return DecodeWideText(bytes.data() + place.offset, place.chars);
}

void WorkshopRecord::setField(Field f, const QString& text)
{
    const FieldPlace place = placeOf(f);
    EncodeWideText(CutUnits(text, capacity(f)), bytes.data() + place.offset, place.chars);
}

int WorkshopRecord::capacity(Field f)
{
    return static_cast<int>(placeOf(f).chars) - 1;
}
