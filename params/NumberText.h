#pragma once

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <optional>

// Decimal text of the records' unsigned number fields.

// The largest value an unsigned field of `width` bytes (1 to 8) holds.
std::uint64_t MaxValueOfWidth(std::size_t width);

// The value of a text made only of the digits 0 to 9; the empty text is 0. None when the
// text holds anything else or its value is above `maxValue`.
std::optional<std::uint64_t> ParseDigits(QStringView text, std::uint64_t maxValue);

// As ParseDigits, except that a value above `ceiling`, however long, gives `ceiling`.
std::optional<std::uint64_t> ParseDigitsClamped(QStringView text, std::uint64_t ceiling);
