#pragma once

#include "params/cTDGrid.h"

#include "gridctrl/CInPlaceEdit.h"
#include "gridctrl/CInPlaceList.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdint>
#include <vector>

// Grid rows of the parameters the tests edit (grid row n shows descriptor row n).
namespace Row {
constexpr int OwnerName = 0;
constexpr int Serial = 4;
constexpr int Purpose = 5;
constexpr int Vin = 6;
constexpr int Nation = 7;
constexpr int RegNumber = 8;
constexpr int ConstantW = 9;
constexpr int ConstantK = 10;
constexpr int TyreCircumference = 11;
constexpr int TyreSize = 12;
constexpr int MaxSpeed = 13;
constexpr int Odometer = 14;
constexpr int Imei = 15;
constexpr int Apn = 16;
constexpr int Port = 20;
constexpr int Protocol = 21;
constexpr int Period = 22;
} // namespace Row

constexpr int ValueCol = 1;

// Opens the in-place editor of a value cell, puts `text` into it and ends the edit with
// Enter, as a user does.
inline void TypeInto(cTDGrid& grid, int row, const QString& text)
{
    grid.BeginCellEdit(row, ValueCol, QPoint(-1, -1), GridKey::LButton);
    const CGridCellBase* cell = grid.CellAt(row, ValueCol);
    QWidget* editor = cell ? cell->GetEditWnd() : nullptr;
    if (auto* line = qobject_cast<CInPlaceEdit*>(editor)) {
        line->setText(text);
        line->EndEdit(GridKey::Enter);
    } else if (auto* list = qobject_cast<CInPlaceList*>(editor)) {
        list->setEditText(text);
        list->EndEdit(GridKey::Enter);
    } else {
        ADD_FAILURE() << "no editor opened in row " << row;
    }
}

// The bytes [from, from + count) of a record.
template <typename Record>
std::vector<std::uint8_t> BytesOf(const Record& record, std::size_t from, std::size_t count)
{
    return {record.bytes.begin() + static_cast<std::ptrdiff_t>(from),
            record.bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}
