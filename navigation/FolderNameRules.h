#pragma once

#include <QString>

class QWidget;

// A registration number names a vehicle folder inside a workshop's exchange folder, so it
// must be a single plain folder name that the tree shows (no slash, no full stop, no control
// character) and fit the parameter record's number field (12 characters, 13 bytes in UTF-8).
enum class RegistrationNumberFault {
    None,
    Missing,        // empty or only blanks
    TooLong,        // more than 12 characters or 13 bytes of UTF-8
    NotAFolderName, // a slash, a full stop, a control character or broken UTF-16
};

// Characters a vehicle name keeps in the register's lists and bytes in the record field.
inline constexpr int kRegistrationNumberChars = 12;
inline constexpr int kRegistrationNumberBytes = 13;

// True when `name` names one folder level that the tree lists: not empty, no '/', no '.',
// no control character and valid UTF-16.
bool IsPlainFolderName(const QString& name);

// The first fault of a registration number, checked in the order of the enum.
RegistrationNumberFault CheckRegistrationNumber(const QString& number);

// Tells the user why `number` was refused (messages 104, 205 or 204 of the pack).
void WarnRegistrationNumber(RegistrationNumberFault fault, const QString& number, QWidget* parent);
