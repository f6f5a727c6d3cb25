#pragma once

#include "gridctrl/GridDefs.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

class CGridCtrl;

// Cell state flags. The grid adds Selected, Fixed/FixedRow/FixedCol and Focused itself when it
// hands out a cell's state; ReadOnly and Modified are kept by the cell.
namespace GridCellState {
constexpr unsigned Focused = 0x01, Selected = 0x02, ReadOnly = 0x08, Fixed = 0x10, FixedRow = 0x20,
                   FixedCol = 0x40, Modified = 0x80;
}

// The abstract cell: what every cell of a grid can tell and be told. Storage lives in
// CGridCell; this class adds the parts common to every cell class: the owning grid, the
// default cell it falls back to, and the bookkeeping of an open in-place editor.
//
// Format: GridFormat flags (DT_-style). Colours: an invalid QColor means "default" (the
// default cell's colour, and failing that the desktop palette). Font: null means the default
// cell's font.
class CGridCellBase {
public:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;
    virtual ~CGridCellBase();

    virtual QString GetText() const = 0;
    virtual void SetText(const QString& text) = 0;
    virtual int GetImage() const = 0;
    virtual void SetImage(int image) = 0;
    virtual quintptr GetData() const = 0;
    virtual void SetData(quintptr data) = 0;
    virtual unsigned GetState() const = 0;
    virtual void SetState(unsigned state) = 0;
    virtual unsigned GetFormat() const = 0;
    virtual void SetFormat(unsigned format) = 0;
    virtual QColor GetTextClr() const = 0;
    virtual void SetTextClr(QColor colour) = 0;
    virtual QColor GetBackClr() const = 0;
    virtual void SetBackClr(QColor colour) = 0;
    // The font the cell draws with: its own, or the default cell's when it has none.
    virtual const QFont* GetFont() const = 0;
    // Gives the cell its own copy of the font; null drops it (back to the default cell's).
    virtual void SetFont(const QFont* font) = 0;
    // The cell's own font only (null when it uses the default cell's).
    virtual const QFont* GetOwnFont() const = 0;
    virtual int GetMargin() const = 0;
    virtual void SetMargin(int margin) = 0;

    // Opens the cell's in-place editor over rect (viewport coordinates) for the key that
    // started the edit. Returns whether an editor is open. The base cell has no editor.
    virtual bool Edit(int row, int col, const QRect& rect, QPoint point, int id, int key);
    // Ends the open edit as if the editor had lost the focus (its text is handed on).
    virtual void EndEdit();
    // Called by the grid once an edit has been handled: forgets the editor.
    void OnEndEdit();
    bool IsEditing() const { return m_editing; }
    QWidget* GetEditWnd() const { return m_editor; }

    // Copies text, data, state, format, colours, own font and margin from another cell
    // (used when a cell is replaced by one of another class).
    void CopyFrom(const CGridCellBase& other);

    CGridCtrl* GetGrid() const { return m_grid; }
    const CGridCellBase* GetDefaultCell() const { return m_defaultCell; }
    // Binds the cell to its grid and the default cell of its kind, taking that cell's format,
    // colours and margin.
    void Attach(CGridCtrl* grid, const CGridCellBase* defaultCell);
    // Rebinds the fallback default cell only (after the fixed rows or columns changed).
    void SetDefaultCell(const CGridCellBase* defaultCell);

protected:
    void SetEditor(QWidget* editor);

private:
    CGridCtrl* m_grid = nullptr;
    const CGridCellBase* m_defaultCell = nullptr;
    bool m_editing = false;
    QPointer<QWidget> m_editor;
};
