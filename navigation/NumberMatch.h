#pragma once

#include <QString>
#include <QStringView>

// Registration numbers are typed in either script: Russian plates use only the twelve
// Cyrillic letters that look like Latin ones (А В Е К М Н О Р С Т У Х), and technicians
// type them on whichever keyboard layout is active, in either case, with or without the
// blanks and dashes of the plate. Two numbers that differ only so name one vehicle.

// The comparison key of `text`: upper case, without blanks and dashes, each of the twelve
// Cyrillic look-alikes replaced by its Latin letter. Every other character stays as it is.
QString NormalizedNumber(QStringView text);

// True when `a` and `b` have the same comparison key.
bool SameRegistrationNumber(QStringView a, QStringView b);
