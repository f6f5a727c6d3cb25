#pragma once

#include "params/GsmRecord.h"
#include "params/ParamRecord.h"

#include <QList>
#include <QString>

#include <cstdint>

// Plausibility hints: values the records accept but that are almost surely mistyped (a W of
// 1, a VIN of 16 characters). A hint never refuses a value; the grid marks the cell and the
// save names the values. Empty values (zero, no text) get no hint: they are not typed yet.

// Typical ranges, inclusive.
namespace PlausibleRange {
inline constexpr std::uint64_t PulsesMin = 2400; // W and K, imp/km
inline constexpr std::uint64_t PulsesMax = 25000;
inline constexpr std::uint64_t TyreMin = 1500; // L, mm
inline constexpr std::uint64_t TyreMax = 4000;
inline constexpr std::uint64_t SpeedMax = 100; // authorised speed, km/h
inline constexpr int VinLength = 17;
inline constexpr int ImeiDigits = 15;
} // namespace PlausibleRange

struct ValueHint {
    int labelId;  // string id of the grid row's label
    QString text; // why the value looks unusual, in the loaded language
};

// The hint for the value of the grid row labelled `labelId`; empty when the value looks
// usual or the row has no rule.
QString HintForValue(int labelId, const ParamRecord& param, const GsmRecord& gsm);

// Every value of the records that looks unusual, in the grid's row order.
QList<ValueHint> UnusualValues(const ParamRecord& param, const GsmRecord& gsm);

// "Values that look unusual (2): W, VIN." in the loaded language, naming the grid's rows;
// empty when every value looks usual.
QString UnusualValuesSummary(const ParamRecord& param, const GsmRecord& gsm);

// True when `imei` has 15 digits whose last one is the Luhn check digit of the others.
bool ImeiCheckDigitValid(std::uint64_t imei);
