#pragma once

#include <cstdint>

class CGridCtrl;
struct Calibration;
struct ParamRecord;

// Kinds of value a descriptor row describes (code 2 is not used).
enum class ParamFieldType : std::uint8_t {
    Text = 1,     // single-byte text of `width` bytes
    UInt32 = 3,   // unsigned 32-bit number
    UInt16 = 4,   // unsigned 16-bit number
    UInt8 = 5,    // unsigned 8-bit number
    WideText = 6, // UTF-16 text of `width` code units
    UInt64 = 7,   // unsigned 64-bit number
};

// What a handler is asked to do with its row's value cell (column 1 of the grid).
enum class ParamMode : std::uint8_t {
    Show = 1,      // field -> cell text
    Store = 2,     // cell text -> field
    Setup = 3,     // prepare the cell (drop-down list, first text) and show the value
    BeginEdit = 4, // an edit of the cell opens
    Validate = 5,  // is the cell's current text acceptable?
};

// Moves one value between its record field and its grid row. `param` is the parameter
// record of the calibration the field belongs to (the registration number is read and
// written in the code page its byte names). The result matters only for Validate (true
// accepts); every other mode returns true.
using FieldHandler = bool (*)(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                              std::uint32_t width, CGridCtrl& grid, ParamRecord& param);

// The record of a calibration that holds a value.
enum class ParamRecordPart : std::uint8_t { Param, Gsm, Owner };

// One row of the parameter descriptor table: one value of a calibration.
struct ParamDescriptor {
    std::uint32_t labelId; // string id of the row's label; 0 ends the table
    ParamFieldType type;
    ParamRecordPart record;
    std::uint32_t offset; // first byte of the value inside its record
    std::uint32_t width;  // bytes for single-byte text and numbers, code units for wide text
    FieldHandler handler; // null: DefaultFieldHandler
    const char* tag;      // element name of the value in the XML calibration record

    // The value's first byte in `calibration`.
    std::uint8_t* fieldIn(Calibration& calibration) const;
    bool isRegistrationNumber() const;
    // The row's handler, or DefaultFieldHandler when it has none, on the value in
    // `calibration`.
    bool run(ParamMode mode, int row, CGridCtrl& grid, Calibration& calibration) const;
};

inline constexpr int ParamRowCount = 23;

// The 23 rows in grid order, followed by a terminating row whose label id is 0. Grid row n
// shows table row n.
const ParamDescriptor* ParamTable();
