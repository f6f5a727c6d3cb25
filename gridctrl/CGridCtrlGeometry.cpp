#include "gridctrl/CGridCtrl.h"

#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace {
// How close to a heading divider (in pixels) a double click sizes the column or row.
constexpr int DividerSlack = 3;
} // namespace

// ---- geometry --------------------------------------------------------------------------

int CGridCtrl::FixedWidth() const
{
    int width = 0;
    for (int col = 0; col < m_fixedCols; ++col)
        width += m_colWidths[static_cast<size_t>(col)];
    return width;
}

int CGridCtrl::FixedHeight() const
{
    int height = 0;
    for (int row = 0; row < m_fixedRows; ++row)
        height += m_rowHeights[static_cast<size_t>(row)];
    return height;
}

int CGridCtrl::ColumnLeft(int col) const
{
    int x = 0;
    for (int c = 0; c < col; ++c)
        x += m_colWidths[static_cast<size_t>(c)];
    return col < m_fixedCols ? x : x - horizontalScrollBar()->value();
}

int CGridCtrl::RowTop(int row) const
{
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += m_rowHeights[static_cast<size_t>(r)];
    return row < m_fixedRows ? y : y - verticalScrollBar()->value();
}

QRect CGridCtrl::CellRect(int row, int col) const
{
    if (!IsValid(row, col))
        return {};
    return QRect(ColumnLeft(col), RowTop(row), m_colWidths[static_cast<size_t>(col)],
                 m_rowHeights[static_cast<size_t>(row)]);
}

CCellID CGridCtrl::CellFromPoint(QPoint pos) const
{
    CCellID cell;
    for (int col = 0; col < m_cols; ++col) {
        const int left = ColumnLeft(col);
        if (col >= m_fixedCols && pos.x() < FixedWidth())
            break;
        if (pos.x() >= left && pos.x() < left + m_colWidths[static_cast<size_t>(col)]) {
            cell.col = col;
            break;
        }
    }
    for (int row = 0; row < GetRowCount(); ++row) {
        const int top = RowTop(row);
        if (row >= m_fixedRows && pos.y() < FixedHeight())
            break;
        if (pos.y() >= top && pos.y() < top + m_rowHeights[static_cast<size_t>(row)]) {
            cell.row = row;
            break;
        }
    }
    if (!cell.IsValid())
        return {};
    return cell;
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    const QRect rect = CellRect(row, col);
    if (rect.isEmpty())
        return false;
    const QRect area(col < m_fixedCols ? 0 : FixedWidth(), row < m_fixedRows ? 0 : FixedHeight(),
                     viewport()->width(), viewport()->height());
    return rect.intersects(area.intersected(viewport()->rect()));
}

bool CGridCtrl::EnsureVisible(int row, int col)
{
    if (!IsValid(row, col))
        return false;
    const QRect rect = CellRect(row, col);
    if (col >= m_fixedCols) {
        const int areaLeft = FixedWidth();
        const int areaRight = viewport()->width();
        if (rect.left() < areaLeft)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() -
                                            (areaLeft - rect.left()));
        else if (rect.left() + rect.width() > areaRight)
            horizontalScrollBar()->setValue(
                horizontalScrollBar()->value() +
                std::min(rect.left() + rect.width() - areaRight, rect.left() - areaLeft));
    }
    if (row >= m_fixedRows) {
        const int areaTop = FixedHeight();
        const int areaBottom = viewport()->height();
        if (rect.top() < areaTop)
            verticalScrollBar()->setValue(verticalScrollBar()->value() - (areaTop - rect.top()));
        else if (rect.top() + rect.height() > areaBottom)
            verticalScrollBar()->setValue(
                verticalScrollBar()->value() +
                std::min(rect.top() + rect.height() - areaBottom, rect.top() - areaTop));
    }
    return IsCellVisible(row, col);
}

int CGridCtrl::DividerAt(QPoint pos, bool columns) const
{
    if (columns) {
        if (pos.y() >= FixedHeight())
            return -1;
        for (int col = 0; col < m_cols; ++col) {
            const int right = ColumnLeft(col) + m_colWidths[static_cast<size_t>(col)];
            if (std::abs(pos.x() - right) <= DividerSlack)
                return col;
        }
    } else {
        if (pos.x() >= FixedWidth())
            return -1;
        for (int row = 0; row < GetRowCount(); ++row) {
            const int bottom = RowTop(row) + m_rowHeights[static_cast<size_t>(row)];
            if (std::abs(pos.y() - bottom) <= DividerSlack)
                return row;
        }
    }
    return -1;
}

QSize CGridCtrl::TextExtent(int row, int col, const QString& text) const
{
    const CGridCellBase* cell = CellAt(row, col);
    const int margin = cell ? cell->GetMargin() : 0;
    const QFontMetrics metrics(CellFont(row, col));
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    return QSize(bounds.width() + 2 * margin,
                 std::max(bounds.height(), metrics.height()) + 2 * margin);
}

QFont CGridCtrl::CellFont(int row, int col) const
{
    const CGridCellBase* cell = CellAt(row, col);
    const QFont* cellFont = cell ? cell->GetFont() : nullptr;
    return cellFont ? *cellFont : font();
}
