#pragma once

#include "params/ParamRecord.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// The registration number names the vehicle's folder in the workshop and on the
// tachograph's stick (usually FAT or exFAT), and the tachograph reads it through the code
// page named in the byte before it. These rules hold wherever a number is taken: the grid's
// row, the new-vehicle dialog and the save.
enum class RegistrationNumberFault {
    None,
    Missing,        // empty or only blanks
    TooLong,        // more than 12 characters
    NotAFolderName, // a slash, a full stop, a control or format character, broken UTF-16,
                    // or a character a FAT or exFAT stick cannot hold
    NoCodePage,     // no ISO/IEC 8859 part holds all its characters
};

// Characters a vehicle name keeps in the register's lists.
inline constexpr int kRegistrationNumberChars = 12;

// True when `name` names one folder level that the tree lists: not empty, no '/', no '.',
// no control character and valid UTF-16.
bool IsPlainFolderName(const QString& name);

// True when a FAT or exFAT stick can hold `name` as a folder name: not empty, no control
// character, no '/' and none of \ : * ? " < > |.
bool StickCanHoldName(const QString& name);

// The first fault of a registration number, checked in the order of the enum.
RegistrationNumberFault CheckRegistrationNumber(const QString& number);

// Reads the number field: in the code page its byte names when that is a known page,
// otherwise as any single-byte field (UTF-8, else Windows-1251).
QString DecodeRegistrationNumber(const std::uint8_t* field, std::size_t width, int codePage);

// Writes the number into its field, followed by one zero byte when shorter. A number of
// ASCII characters is written as it is and the code page is left alone; any other in the
// first ISO/IEC 8859 part that holds all its characters (1 and 5 first), whose number is
// written to `codePage`. False, with both untouched, when no part holds it or it does not
// fit the field.
bool EncodeRegistrationNumber(const QString& number, std::uint8_t* field, std::size_t width,
                              std::uint8_t& codePage);

// The record's number, decoded with its code-page byte.
QString RegistrationNumberOf(const ParamRecord& record);
