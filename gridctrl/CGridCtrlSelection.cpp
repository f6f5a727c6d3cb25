#include "gridctrl/CGridCtrl.h"

#include <algorithm>
#include <limits>

// ---- focus and selection ---------------------------------------------------------------

void CGridCtrl::SetFocusCell(int row, int col)
{
    if (!IsValid(row, col) || IsCellFixed(row, col)) {
        EndFocusEdit();
        m_focus = {};
        viewport()->update();
        return;
    }
    MoveFocusTo({row, col}, false);
}

bool CGridCtrl::IsCellSelected(int row, int col) const
{
    return m_selection.count({row, col}) != 0;
}

void CGridCtrl::ClearSelection()
{
    m_selection.clear();
    viewport()->update();
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol)
{
    m_selection.clear();
    for (int row = std::max(minRow, m_fixedRows); row <= std::min(maxRow, GetRowCount() - 1);
         ++row) {
        for (int col = std::max(minCol, m_fixedCols); col <= std::min(maxCol, m_cols - 1); ++col)
            m_selection.insert({row, col});
    }
    viewport()->update();
}

void CGridCtrl::SelectAllCells()
{
    SetSelectedRange(m_fixedRows, m_fixedCols, GetRowCount() - 1, m_cols - 1);
}

void CGridCtrl::SelectRange(CCellID from, CCellID to)
{
    SetSelectedRange(std::min(from.row, to.row), std::min(from.col, to.col),
                     std::max(from.row, to.row), std::max(from.col, to.col));
}

QRect CGridCtrl::SelectedBounds() const
{
    if (m_selection.empty())
        return {};
    int minRow = std::numeric_limits<int>::max(), maxRow = -1;
    int minCol = std::numeric_limits<int>::max(), maxCol = -1;
    for (const auto& [row, col] : m_selection) {
        minRow = std::min(minRow, row);
        maxRow = std::max(maxRow, row);
        minCol = std::min(minCol, col);
        maxCol = std::max(maxCol, col);
    }
    return QRect(QPoint(minCol, minRow), QPoint(maxCol, maxRow));
}

void CGridCtrl::MoveFocusTo(CCellID cell, bool extend)
{
    if (!IsValid(cell.row, cell.col) || IsCellFixed(cell.row, cell.col))
        return;
    // The open edit belongs to the focus cell; it ends before the focus leaves that cell.
    if (!(cell == m_focus))
        EndFocusEdit();
    if (extend && m_anchor.IsValid()) {
        SelectRange(m_anchor, cell);
    } else {
        m_anchor = cell;
        m_selection.clear();
        m_selection.insert({cell.row, cell.col});
    }
    m_focus = cell;
    EnsureVisible(cell.row, cell.col);
    viewport()->update();
}

CCellID CGridCtrl::NextTabCell(bool backwards) const
{
    const auto width = [this](int col) { return m_colWidths[static_cast<size_t>(col)]; };
    const auto height = [this](int row) { return m_rowHeights[static_cast<size_t>(row)]; };
    if (!backwards) {
        for (int col = m_focus.col + 1; col < m_cols; ++col) {
            if (width(col) > 0)
                return {m_focus.row, col};
        }
        for (int row = m_focus.row + 1; row < GetRowCount(); ++row) {
            if (height(row) == 0)
                continue;
            for (int col = m_fixedCols; col < m_cols; ++col) {
                if (width(col) > 0)
                    return {row, col};
            }
        }
    } else {
        for (int col = m_focus.col - 1; col >= m_fixedCols; --col) {
            if (width(col) > 0)
                return {m_focus.row, col};
        }
        for (int row = m_focus.row - 1; row >= m_fixedRows; --row) {
            if (height(row) == 0)
                continue;
            for (int col = m_cols - 1; col >= m_fixedCols; --col) {
                if (width(col) > 0)
                    return {row, col};
            }
        }
    }
    return m_focus;
}

bool CGridCtrl::MoveFocus(int key, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const int lastRow = GetRowCount() - 1;
    const int lastCol = m_cols - 1;
    if (lastRow < m_fixedRows || lastCol < m_fixedCols)
        return false;
    if (!m_focus.IsValid()) {
        MoveFocusTo({m_fixedRows, m_fixedCols}, false);
        return true;
    }
    CCellID next = m_focus;
    // One visible step from index in direction step, or index itself at the edge.
    const auto stepCol = [this, lastCol](int col, int step) {
        for (int c = col + step; c >= m_fixedCols && c <= lastCol; c += step) {
            if (m_colWidths[static_cast<size_t>(c)] > 0)
                return c;
        }
        return col;
    };
    const auto stepRow = [this, lastRow](int row, int step) {
        for (int r = row + step; r >= m_fixedRows && r <= lastRow; r += step) {
            if (m_rowHeights[static_cast<size_t>(r)] > 0)
                return r;
        }
        return row;
    };
    const int pageRows = std::max(1, (viewport()->height() - FixedHeight()) /
                                         std::max(1, GetDefaultCell(false, false)->GetHeight()));
    switch (key) {
    case GridKey::Tab:
        MoveFocusTo(NextTabCell(shift), false);
        return true;
    case GridKey::Left:
        next.col = stepCol(next.col, -1);
        break;
    case GridKey::Right:
        next.col = stepCol(next.col, 1);
        break;
    case GridKey::Up:
        next.row = stepRow(next.row, -1);
        break;
    case GridKey::Down:
        next.row = stepRow(next.row, 1);
        break;
    case GridKey::PageUp:
        next.row = std::max(m_fixedRows, next.row - pageRows);
        break;
    case GridKey::PageDown:
        next.row = std::min(lastRow, next.row + pageRows);
        break;
    case GridKey::Home:
        next.col = m_fixedCols;
        if (control)
            next.row = m_fixedRows;
        break;
    case GridKey::End:
        next.col = lastCol;
        if (control)
            next.row = lastRow;
        break;
    default:
        return false;
    }
    MoveFocusTo(next, shift);
    return true;
}
