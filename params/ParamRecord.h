#pragma once

#include "store/RecordFile.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The parameter record, payload of PARAM_UP.BIN (175 bytes). Bytes 4 to 170 follow the
// tachograph's calibration record; numbers are unsigned little-endian (see
// store/LittleEndian.h) and may sit at odd offsets. PARAM.BIN on the removable drive holds
// the first 171 bytes, without the serial number that only the tachograph supplies.
//
//   offset  width  kind           content
//        0      4  bytes          not interpreted, carried through
//        4      1  uint8          calibration purpose code
//        5     94  bytes          not interpreted (workshop name, address, card, expiry)
//       99     17  text           vehicle identification number
//      116      1  uint8          nation of registration
//      117      1  uint8          code page of the registration number
//      118     13  text           vehicle registration number (names the vehicle folder)
//      131      2  uint16         characteristic coefficient W
//      133      2  uint16         constant K
//      135      2  uint16         tyre circumference L
//      137     15  text           tyre size
//      152      1  uint8          maximum authorised speed
//      153      3  bytes          not interpreted (old odometer value)
//      156      3  uint24         odometer value
//      159     12  bytes          not interpreted (old time, new time, next calibration)
//      171      4  uint32         serial number of the tachograph
//
// A text field holds its text up to the first zero byte or its full width.
struct ParamRecord {
    struct Layout {
        static constexpr std::size_t PurposeOffset = 4;
        static constexpr std::size_t PurposeWidth = 1;
        static constexpr std::size_t VinOffset = 99;
        static constexpr std::size_t VinWidth = 17;
        static constexpr std::size_t NationOffset = 116;
        static constexpr std::size_t NationWidth = 1;
        static constexpr std::size_t CodePageOffset = 117;
        static constexpr std::size_t RegNumberOffset = 118;
        static constexpr std::size_t RegNumberWidth = 13;
        static constexpr std::size_t ConstantWOffset = 131;
        static constexpr std::size_t ConstantKOffset = 133;
        static constexpr std::size_t TyreCircumferenceOffset = 135;
        static constexpr std::size_t UInt16Width = 2;
        static constexpr std::size_t TyreSizeOffset = 137;
        static constexpr std::size_t TyreSizeWidth = 15;
        static constexpr std::size_t MaxSpeedOffset = 152;
        static constexpr std::size_t MaxSpeedWidth = 1;
        static constexpr std::size_t OdometerOffset = 156;
        static constexpr std::size_t OdometerWidth = 3;
        static constexpr std::size_t SerialOffset = 171;
        static constexpr std::size_t SerialWidth = 4;
        static constexpr std::size_t Size = 175;
        // The form written to the removable drive ends before the serial number.
        static constexpr std::size_t ExportSize = SerialOffset;
    };
    static_assert(Layout::Size == RecordSize::Param);
    static_assert(Layout::ExportSize == RecordSize::ParamExport);
    static_assert(Layout::SerialOffset + Layout::SerialWidth == Layout::Size);

    // The code page byte that the grid's set-up writes: ISO/IEC 8859-5 (Cyrillic).
    static constexpr std::uint8_t DefaultCodePage = 5;

    std::array<std::uint8_t, Layout::Size> bytes{};

    bool operator==(const ParamRecord&) const = default;
};
