#pragma once

#include <QtGlobal>

// Small value types shared by the grid, its cells and its editors.

// A cell position; (-1, -1) means "no cell".
struct CCellID {
    int row = -1;
    int col = -1;

    bool IsValid() const { return row >= 0 && col >= 0; }
    friend bool operator==(const CCellID&, const CCellID&) = default;
};

// Key codes handed to CGridCtrl::BeginCellEdit and carried by the end of an edit. They keep
// the classic desktop virtual-key numbering so that a subclass can compare against plain
// numbers; printable characters travel as their Unicode code point.
namespace GridKey {
constexpr int None = 0;
constexpr int LButton = 1; // F2 or a mouse click / double click
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int F1 = 112;
constexpr int F2 = 113;

// Typed characters whose codes fall on Page Up to Down ('!' to '(') carry this flag, so that
// typing one of them replaces the text like any other character instead of acting as a
// navigation key.
constexpr int CharFlag = 0x01000000;

// True for Page Up, Page Down, End, Home and the four arrows (33 to 40).
constexpr bool IsNavigation(int key)
{
    return key >= PageUp && key <= Down;
}
// The key code for a typed character.
constexpr int FromChar(char32_t c)
{
    return IsNavigation(static_cast<int>(c)) ? static_cast<int>(c) | CharFlag : static_cast<int>(c);
}
// The character of a key code made by FromChar.
constexpr char32_t CharOf(int key)
{
    return static_cast<char32_t>(key & ~CharFlag);
}
} // namespace GridKey

// Text drawing flags of a cell's format. The values are the classic DT_ drawing flags, so a
// format such as 0x8824 reads the same everywhere: one left-aligned, vertically centred line,
// no prefix characters, an ellipsis where the text is cut.
namespace GridFormat {
constexpr unsigned Left = 0x0000;
constexpr unsigned Center = 0x0001;
constexpr unsigned Right = 0x0002;
constexpr unsigned VCenter = 0x0004;
constexpr unsigned Bottom = 0x0008;
constexpr unsigned WordBreak = 0x0010;
constexpr unsigned SingleLine = 0x0020;
constexpr unsigned NoPrefix = 0x0800;
constexpr unsigned EndEllipsis = 0x8000;

constexpr unsigned Default = Left | VCenter | SingleLine | NoPrefix | EndEllipsis; // 0x8824
} // namespace GridFormat

// The control id that in-place editors carry (kept for subclasses that look at it).
constexpr int GridEditorId = 8;
