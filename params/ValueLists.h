#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The four value lists of the drop-down rows. Each ends with a terminating entry (label id
// 0, or no text). Nation and purpose labels come from the loaded language pack; protocol
// texts are the same in every language; a period's text is the pack's string
// kPeriodTextBase + code, the English text of the list where the pack has none. Whatever the
// language, the stored codes are the same.

struct NationEntry {
    std::uint32_t labelId;
    std::uint8_t code;
};

struct PurposeEntry {
    std::uint32_t labelId;
    std::uint8_t code;
};

struct ProtocolEntry {
    std::uint8_t code;
    const char* text;
};

struct PeriodEntry {
    const char* text;
    std::uint32_t code;
};

// Nation numeric codes of the tachograph data dictionary: 1 to 52, then 253 European
// Community, 254 rest of Europe, 255 rest of the world. Label 104 is not a nation.
extern const std::array<NationEntry, 56> NationList;
// First installation, activation, periodic check; plain installation (3) is not offered.
extern const std::array<PurposeEntry, 4> PurposeList;
extern const std::array<ProtocolEntry, 3> ProtocolList;
extern const std::array<PeriodEntry, 24> PeriodList;

inline constexpr int kPeriodTextBase = 300;

// The text a list entry is shown with in the language in use.
QString EntryText(const ProtocolEntry& entry);
QString EntryText(const PeriodEntry& entry);

// The nation the set-up shows: the Russian Federation.
inline constexpr std::uint8_t DefaultNationCode = 43;

// The text of a code in one list: key "country" (nation label), "purpose" (purpose label),
// "protocol" or "period" (see EntryText; the period code is compared as one byte). Any other
// key, or a code in no entry, gives the empty text.
QString ValueLabel(const QString& key, std::uint32_t code);
