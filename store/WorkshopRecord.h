#pragma once

#include "store/RecordFile.h"

#include <QString>

#include <array>
#include <cstdint>

// The workshop record, payload of RX902/SINFO.BIN: four zero-terminated UTF-16LE fields.
//
//   offset  bytes  characters  field
//        0    520         260  name
//      520    520         260  address
//     1040     64          32  phone
//     1104     64          32  index (postal code)
//
// A field holds at most its character count less one; every unit after the terminator
// is zero when the program writes the record.
struct WorkshopRecord {
    enum class Field { Name, Address, Phone, Index };

    struct Layout {
        static constexpr std::size_t NameOffset = 0;
        static constexpr std::size_t NameChars = 260;
        static constexpr std::size_t AddressOffset = 520;
        static constexpr std::size_t AddressChars = 260;
        static constexpr std::size_t PhoneOffset = 1040;
        static constexpr std::size_t PhoneChars = 32;
        static constexpr std::size_t IndexOffset = 1104;
        static constexpr std::size_t IndexChars = 32;
    };

    std::array<std::uint8_t, RecordSize::Workshop> bytes{};

    // The text up to the first zero unit or the field's width.
    QString field(Field f) const;
    // Stores at most capacity(f) characters, zero-fills the rest of the field.
    void setField(Field f, const QString& text);
    // Characters a field can hold besides its terminator (259 or 31).
    static int capacity(Field f);

    bool operator==(const WorkshopRecord&) const = default;
};
