#pragma once

#include "params/ParamDescriptor.h"

#include <QStringList>

// The handlers of the descriptor rows. Each works on the value cell of its row, column 1
// of the grid, through the grid's cell text.

// Type-driven behaviour of the rows without a handler of their own.
bool DefaultFieldHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                         std::uint32_t width, CGridCtrl& grid, ParamRecord& param);

// Drop-down rows. They accept only a text of their list (ignoring case; the cell then shows
// the list's text). Show of a code in no list entry empties the cell; Store of an empty cell
// leaves the field as it was.
bool PurposeHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                    std::uint32_t width, CGridCtrl& grid, ParamRecord& param);
bool NationHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                   std::uint32_t width, CGridCtrl& grid, ParamRecord& param);
bool ProtocolHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                     std::uint32_t width, CGridCtrl& grid, ParamRecord& param);
bool PeriodHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                   std::uint32_t width, CGridCtrl& grid, ParamRecord& param);

// The three-byte odometer: digits only; a value above OdometerMax is stored as OdometerMax.
bool OdometerHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                     std::uint32_t width, CGridCtrl& grid, ParamRecord& param);
inline constexpr std::uint32_t OdometerMax = 9999999;

// Whether `handler` is one of the four drop-down rows' handlers, and that row's list texts.
bool IsChoiceHandler(FieldHandler handler);
QStringList ChoiceLabels(FieldHandler handler);

// Turns the value cell of `row` into a drop-down cell that keeps the old cell's text, data,
// state and look, offering `texts` in order and also accepting typed text.
void MakeComboCell(int row, const QStringList& texts, CGridCtrl& grid);

// Why the value cell's text of a descriptor row would be refused, in the loaded language;
// empty when it is acceptable.
QString RefusalReason(const ParamDescriptor& row, const QString& text);
