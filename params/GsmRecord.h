#pragma once

#include "store/RecordFile.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The GSM record, payload of GSM_UP.BIN (145 bytes): the settings of the tachograph's
// data link. Numbers are unsigned little-endian; the period sits at an odd offset. GSM.BIN
// on the removable drive holds the first 137 bytes, without the IMEI that only the
// tachograph supplies.
//
//   offset  width  kind    content
//        0     40  text    access point name
//       40     30  text    login
//       70     20  text    password of the data link
//       90     40  text    server host
//      130      2  uint16  server port
//      132      1  uint8   protocol code: 0 TCP, 1 UDP
//      133      4  uint32  period code 0 to 22 (index into the period list)
//      137      8  uint64  IMEI of the tachograph's modem
struct GsmRecord {
    struct Layout {
        static constexpr std::size_t ApnOffset = 0;
        static constexpr std::size_t ApnWidth = 40;
        static constexpr std::size_t LoginOffset = 40;
        static constexpr std::size_t LoginWidth = 30;
        static constexpr std::size_t PasswordOffset = 70;
        static constexpr std::size_t PasswordWidth = 20;
        static constexpr std::size_t HostOffset = 90;
        static constexpr std::size_t HostWidth = 40;
        static constexpr std::size_t PortOffset = 130;
        static constexpr std::size_t PortWidth = 2;
        static constexpr std::size_t ProtocolOffset = 132;
        static constexpr std::size_t ProtocolWidth = 1;
        static constexpr std::size_t PeriodOffset = 133;
        static constexpr std::size_t PeriodWidth = 4;
        static constexpr std::size_t ImeiOffset = 137;
        static constexpr std::size_t ImeiWidth = 8;
        static constexpr std::size_t Size = 145;
        // The form written to the removable drive ends before the IMEI.
        static constexpr std::size_t ExportSize = ImeiOffset;
    };
    static_assert(Layout::Size == RecordSize::Gsm);
    static_assert(Layout::ExportSize == RecordSize::GsmExport);
    static_assert(Layout::ImeiOffset + Layout::ImeiWidth == Layout::Size);

    std::array<std::uint8_t, Layout::Size> bytes{};

    bool operator==(const GsmRecord&) const = default;
};
