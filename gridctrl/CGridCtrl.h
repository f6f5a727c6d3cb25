#pragma once

#include "gridctrl/CGridCellBase.h"
#include "gridctrl/CGridDefaultCell.h"

#include <QAbstractScrollArea>
#include <QIcon>
#include <QList>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <type_traits>
#include <utility>
#include <vector>

class CTitleTip;
class QLineEdit;

// A table of cells with fixed heading rows and columns (drawn as headings, never scrolled,
// never edited), per-cell text, state and look, in-place editing through a text editor or a
// drop-down, title tips for texts that do not fit, keyboard navigation and clipboard keys.
//
// Scrolling comes from QAbstractScrollArea; the scroll bars move the non-fixed part in
// pixels. Widths and heights are in pixels. Out-of-range rows and columns are answered with
// null, false or the empty text.
//
// Editing: BeginCellEdit opens the cell's editor; when the editor closes, EndCellEdit gets its
// text, which ValidateCellEdit may reject. A subclass overrides these to bind the cells to its
// data; the parent may veto through beginLabelEdit and endLabelEdit.
class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Structure.
    bool Clear();
    bool SetColumns(int count);
    int GetColumnCount() const { return m_cols; }
    bool SetFixedColumns(int count);
    int GetFixedColumnCount() const { return m_fixedCols; }
    bool SetRows(int count);
    int GetRowCount() const { return static_cast<int>(m_cells.size()); }
    bool SetFixedRows(int count);
    int GetFixedRowCount() const { return m_fixedRows; }
    bool ResizeColumn(int col, int pixels);
    bool SetColumnWidth(int col, int pixels) { return ResizeColumn(col, pixels); }
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int pixels);
    int GetRowHeight(int row) const;
    // Sizes a column (or row) to the widest (highest) text extent of its cells.
    bool AutoSizeColumn(int col);
    bool AutoSizeRow(int row);
    void UpdateScrollRanges();
    // Appends a row with the heading in column 0; returns its index, -1 on failure.
    int AppendRow(const QString& heading);

    // Cells.
    CGridCellBase* CellAt(int row, int col) const;
    bool SetCellText(int row, int col, const QString& text);
    QString GetCellText(int row, int col) const;
    bool SetCellData(int row, int col, quintptr data);
    quintptr GetCellData(int row, int col) const;
    // The cell's own state plus what the grid tracks: Selected, Fixed* and Focused.
    unsigned GetCellState(int row, int col) const;
    bool SetCellState(int row, int col, unsigned state);
    bool IsCellFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }

    // Replaces the cell by a new Cell, keeping text, data, state, format, colours, font and
    // margin. False (and nothing changes) when the row or column is out of range.
    template <class Cell> bool SetCellClass(int row, int col)
    {
        static_assert(std::is_base_of_v<CGridCellBase, Cell>,
                      "a grid cell class must derive from CGridCellBase");
        if (!CellAt(row, col))
            return false;
        return ReplaceCell(row, col, std::make_unique<Cell>());
    }
    // The class of cells that new rows and columns get (CGridCell unless changed).
    template <class Cell> void SetDefaultCellType()
    {
        static_assert(std::is_base_of_v<CGridCellBase, Cell>,
                      "a grid cell class must derive from CGridCellBase");
        m_cellFactory = [] { return std::unique_ptr<CGridCellBase>(std::make_unique<Cell>()); };
    }
    // Normal, fixed-row, fixed-column and corner default cells.
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol);
    const CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;

    // Behaviour switches.
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }
    void SetHandleTabKey(bool handle) { m_handleTab = handle; }
    bool GetHandleTabKey() const { return m_handleTab; }
    void EnableTitleTips(bool enable);
    bool GetTitleTips() const { return m_titleTips; }
    void SetGridLines(bool draw);
    bool GetGridLines() const { return m_gridLines; }
    void SetModified(bool modified) { m_modified = modified; }
    bool GetModified() const { return m_modified; }
    // Images of cells are indexes into this list (-1 for none).
    void SetImageList(const QList<QIcon>& images);

    // Focus and selection.
    CCellID GetFocusCell() const { return m_focus; }
    void SetFocusCell(int row, int col);
    bool IsCellSelected(int row, int col) const;
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol);
    void ClearSelection();
    void SelectAllCells();
    bool EnsureVisible(int row, int col);
    bool IsCellVisible(int row, int col) const;
    // The cell's rectangle in viewport coordinates (empty when out of range).
    QRect CellRect(int row, int col) const;
    CCellID CellFromPoint(QPoint viewportPos) const;
    CTitleTip* TitleTip() const { return m_titleTip; }

    void Invalidate();

    // Clipboard and Delete keys, also reachable for menus.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnEditClear();
    // The text the copy keys put on the clipboard: the selected cells' range, columns
    // separated by tabs, each row ended by a line break; unselected cells in it stay empty.
    QString SelectionText() const;
    // Puts text (lines of tab- or comma-separated fields) into the cells from (row, col) on,
    // one validated set per cell; returns whether any cell was reached.
    bool PasteText(int row, int col, const QString& text);

    // Validated set (paste, cut, Delete): if the grid is editable, the cell is neither fixed
    // nor read-only and the parent does not veto the begin, a differing text is put in and
    // kept when ValidateCellEdit accepts and the parent does not veto the end; otherwise the
    // previous text is put back. Then EndCellEdit runs with the cell's text, as after a typed
    // edit, so that a subclass stores what the screen shows. Returns whether the text was kept.
    bool SetCellTextValidated(int row, int col, const QString& text);

    // Editing hooks. The base BeginCellEdit opens the cell's editor (unless the grid is not
    // editable, the cell is fixed or read-only, cannot be shown, or the parent vetoes); the base
    // EndCellEdit puts a changed text into the cell, keeps it when ValidateCellEdit accepts and
    // the parent does not veto, and puts the previous text back otherwise; the base
    // ValidateCellEdit accepts everything; the base EndFocusEdit ends the focus cell's edit.
    virtual void BeginCellEdit(int row, int col, QPoint point, int key);
    virtual void EndCellEdit(int row, int col, const QString& text);
    virtual bool ValidateCellEdit(int row, int col, const QString& text);
    virtual void EndFocusEdit();

    // Called by the in-place editors when they close: key is what ended the edit (0 when the
    // focus left otherwise). Tab and the navigation keys move on and edit the next cell.
    // Ends of editors that no longer belong to the cell (replaced or removed) are ignored.
    void OnEndInPlaceEdit(QWidget* editor, int row, int col, const QString& text, int key,
                          Qt::KeyboardModifiers modifiers);

    // Maps a Qt key press to the code an edit starts or ends with: Tab, Enter, Escape,
    // Backspace, the navigation keys and typed characters (0 for any other key).
    static int GridKeyFromEvent(const QKeyEvent* event);

signals:
    // A slot may set *veto = true to stop the edit (or keep the previous text).
    void beginLabelEdit(int row, int col, bool* veto);
    void endLabelEdit(int row, int col, bool* veto);
    void cellDoubleClicked(int row, int col);

protected:
    // Size handling: ends an open edit and recomputes the scroll ranges. Runs from
    // resizeEvent; an override should call it first.
    virtual void OnSize();
    // Key releases; the base hands them to the default processing.
    virtual void OnKeyUp(QKeyEvent* event);

    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    using Row = std::vector<std::unique_ptr<CGridCellBase>>;

    bool ReplaceCell(int row, int col, std::unique_ptr<CGridCellBase> cell);
    std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    void ResetCellDefaults();
    bool IsValid(int row, int col) const;
    bool VetoBegin(int row, int col);
    bool VetoEnd(int row, int col);
    // Moves the focus for a navigation key (GridKey code); returns whether it was handled.
    bool MoveFocus(int key, Qt::KeyboardModifiers modifiers);
    void MoveFocusTo(CCellID cell, bool extend);
    CCellID NextTabCell(bool backwards) const;
    void SelectRange(CCellID from, CCellID to);
    QRect SelectedBounds() const;
    void DrawCell(QPainter& painter, int row, int col, const QRect& rect) const;
    QSize TextExtent(int row, int col, const QString& text) const;
    QFont CellFont(int row, int col) const;
    void ShowTitleTipFor(QPoint viewportPos);
    void HideTitleTip();
    int ColumnLeft(int col) const;
    int RowTop(int row) const;
    int FixedWidth() const;
    int FixedHeight() const;
    int DividerAt(QPoint pos, bool columns) const;
    QLineEdit* OpenLineEditor() const;

    std::vector<Row> m_cells;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    std::array<CGridDefaultCell, 4> m_defaultCells;
    std::function<std::unique_ptr<CGridCellBase>()> m_cellFactory;

    CCellID m_focus;
    CCellID m_anchor;
    std::set<std::pair<int, int>> m_selection;

    bool m_editable = true;
    bool m_modified = false;
    bool m_handleTab = true;
    bool m_titleTips = true;
    bool m_gridLines = true;
    bool m_inSize = false;
    bool m_destroying = false;
    QColor m_gridLineClr{192, 192, 192};
    QList<QIcon> m_images;

    CCellID m_pressedCell;
    bool m_editOnRelease = false;
    bool m_selecting = false;
    CTitleTip* m_titleTip = nullptr;
    QPointer<QWidget> m_editor;
};
