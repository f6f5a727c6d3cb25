#pragma once

#include "store/WideText.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// Text in the records' fixed-width fields.
//
// Single-byte fields are written as UTF-8, never cutting a character: a text whose UTF-8
// form is longer than the field is refused whole. They are read up to the first zero byte
// or the field's width: bytes that form valid UTF-8 as UTF-8, anything else (text written
// by a tachograph or an older program) as a single-byte code page. The registration number
// names its code page in the byte before it (1 to 16: ISO/IEC 8859 part of that number,
// 80: KOI8-R, 85: KOI8-U); every other field, and any code page number this program does
// not know, is read as Windows-1251.

// Whether a code-page number is one this program reads and writes: 1 to 16 (ISO/IEC 8859
// part of that number, where the part exists), 80 KOI8-R or 85 KOI8-U.
bool IsKnownCodePage(int codePage);
// Decodes the field up to its first zero byte in a known code page; a byte the page leaves
// undefined becomes U+FFFD.
QString DecodeCodePageText(const std::uint8_t* field, std::size_t width, int codePage);
// The text in a known code page, one byte per character; empty when a character is not in
// the page (or is U+0000).
QByteArray EncodeCodePageText(const QString& text, int codePage);

// Decodes a single-byte field; codePage -1 stands for the Windows-1251 fallback.
QString DecodeSingleByteText(const std::uint8_t* field, std::size_t width, int codePage = -1);

// Whether the UTF-8 form of the text fits a field of `width` bytes.
bool Utf8TextFits(const QString& text, std::size_t width);

// Writes the text as UTF-8 followed by one zero byte when shorter than the field; the bytes
// after that zero keep what they held. False, with the field untouched, when the UTF-8 form
// does not fit.
bool EncodeUtf8Text(const QString& text, std::uint8_t* field, std::size_t width);
