#pragma once

#include <QString>

// The key registration numbers are compared by: letters in one case, blanks and dashes
// dropped, and the twelve Cyrillic letters that Russian plates share with the Latin alphabet
// (А В Е К М Н О Р С Т У Х) taken as their Latin look-alikes, so "а123вс 77" and "A123-BC77"
// give the same key.
QString NormalizedNumber(const QString& text);
