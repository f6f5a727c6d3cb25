#pragma once

#include "store/RecordFile.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The owner record, payload of CINFO.BIN (1624 bytes): four UTF-16LE text fields. Widths
// are in code units; a text of exactly the width has no terminating zero unit, a shorter
// one is followed by zero units up to the end of the field.
//
//   offset  bytes  units  content
//        0    520    260  owner's name
//      520    520    260  owner's address
//     1040     64     32  owner's phone
//     1104    520    260  vehicle model
struct OwnerRecord {
    struct Layout {
        static constexpr std::size_t NameOffset = 0;
        static constexpr std::size_t NameUnits = 260;
        static constexpr std::size_t AddressOffset = 520;
        static constexpr std::size_t AddressUnits = 260;
        static constexpr std::size_t PhoneOffset = 1040;
        static constexpr std::size_t PhoneUnits = 32;
        static constexpr std::size_t ModelOffset = 1104;
        static constexpr std::size_t ModelUnits = 260;
        static constexpr std::size_t Size = 1624;
    };
    static_assert(Layout::Size == RecordSize::Owner);
    static_assert(Layout::ModelOffset + 2 * Layout::ModelUnits == Layout::Size);

    std::array<std::uint8_t, Layout::Size> bytes{};

    bool operator==(const OwnerRecord&) const = default;
};
