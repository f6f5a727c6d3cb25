#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Text in fixed-width UTF-16LE fields (the owner and workshop records), and the cut every
// length limit on UTF-16 text goes through.

// The first `limit` code units of `text`, one less where the cut would split a surrogate
// pair.
QString CutUnits(const QString& text, qsizetype limit);

// A field of `units` code units, up to the first zero unit or the width.
QString DecodeWideText(const std::uint8_t* field, std::size_t units);

// Writes at most `units` code units of the text (cut by CutUnits) and fills the rest of the
// field with zero units.
void EncodeWideText(const QString& text, std::uint8_t* field, std::size_t units);
