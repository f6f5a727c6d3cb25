#include "gridctrl/CGridCtrl.h"

#include "gridctrl/CInPlaceEdit.h"
#include "gridctrl/CInPlaceList.h"
#include "gridctrl/CTitleTip.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace {
constexpr unsigned TrackedStates = GridCellState::Focused | GridCellState::Selected |
                                   GridCellState::Fixed | GridCellState::FixedRow |
                                   GridCellState::FixedCol;
// How close to a heading divider (in pixels) a double click sizes the column or row.
constexpr int DividerSlack = 3;
} // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("VelmoraGridCtrl"));
    setFocusPolicy(Qt::WheelFocus);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Button);
    const QFont gridFont = font();
    for (CGridDefaultCell& cell : m_defaultCells)
        cell.SetFont(&gridFont);
    m_titleTip = new CTitleTip(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    HideTitleTip();
            });
}

CGridCtrl::~CGridCtrl()
{
    // An open editor must not report back into a grid that is going away.
    m_destroying = true;
    delete m_editor.data();
}

// ---- structure -------------------------------------------------------------------------

bool CGridCtrl::Clear()
{
    EndFocusEdit();
    m_selection.clear();
    m_focus = {};
    m_anchor = {};
    m_cells.clear();
    m_colWidths.clear();
    m_rowHeights.clear();
    m_cols = 0;
    m_fixedRows = 0;
    m_fixedCols = 0;
    UpdateScrollRanges();
    m_modified = true;
    viewport()->update();
    return true;
}

bool CGridCtrl::SetColumns(int count)
{
    if (count < 0)
        return false;
    if (count == m_cols)
        return true;
    if (count < m_cols)
        EndFocusEdit();
    if (count < m_fixedCols)
        m_fixedCols = count;
    const int oldCols = m_cols;
    m_cols = count;
    m_colWidths.resize(static_cast<size_t>(count));
    for (int col = oldCols; col < count; ++col)
        m_colWidths[static_cast<size_t>(col)] =
            GetDefaultCell(false, col < m_fixedCols)->GetWidth();
    for (int row = 0; row < GetRowCount(); ++row) {
        Row& cells = m_cells[static_cast<size_t>(row)];
        cells.resize(static_cast<size_t>(count));
        for (int col = oldCols; col < count; ++col)
            cells[static_cast<size_t>(col)] = CreateCell(row, col);
    }
    std::erase_if(m_selection, [count](const auto& cell) { return cell.second >= count; });
    if (m_focus.col >= count)
        m_focus = {};
    UpdateScrollRanges();
    viewport()->update();
    return true;
}

bool CGridCtrl::SetRows(int count)
{
    if (count < 0)
        return false;
    const int oldRows = GetRowCount();
    if (count == oldRows)
        return true;
    if (count < oldRows)
        EndFocusEdit();
    if (count < m_fixedRows)
        m_fixedRows = count;
    m_cells.resize(static_cast<size_t>(count));
    m_rowHeights.resize(static_cast<size_t>(count));
    for (int row = oldRows; row < count; ++row) {
        Row& cells = m_cells[static_cast<size_t>(row)];
        cells.resize(static_cast<size_t>(m_cols));
        for (int col = 0; col < m_cols; ++col)
            cells[static_cast<size_t>(col)] = CreateCell(row, col);
        m_rowHeights[static_cast<size_t>(row)] =
            GetDefaultCell(row < m_fixedRows, false)->GetHeight();
    }
    std::erase_if(m_selection, [count](const auto& cell) { return cell.first >= count; });
    if (m_focus.row >= count)
        m_focus = {};
    UpdateScrollRanges();
    viewport()->update();
    return true;
}

bool CGridCtrl::SetFixedColumns(int count)
{
    if (count < 0)
        return false;
    if (count > m_cols && !SetColumns(count))
        return false;
    m_fixedCols = count;
    ResetCellDefaults();
    return true;
}

bool CGridCtrl::SetFixedRows(int count)
{
    if (count < 0)
        return false;
    if (count > GetRowCount() && !SetRows(count))
        return false;
    m_fixedRows = count;
    ResetCellDefaults();
    return true;
}

void CGridCtrl::ResetCellDefaults()
{
    // Fixed cells are headings: they are never selected, focused or edited.
    if (m_focus.IsValid() && IsCellFixed(m_focus.row, m_focus.col)) {
        EndFocusEdit();
        m_focus = {};
    }
    std::erase_if(m_selection,
                  [this](const auto& cell) { return IsCellFixed(cell.first, cell.second); });
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int col = 0; col < m_cols; ++col)
            m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)]->SetDefaultCell(
                GetDefaultCell(row < m_fixedRows, col < m_fixedCols));
    }
    UpdateScrollRanges();
    viewport()->update();
}

bool CGridCtrl::ResizeColumn(int col, int pixels)
{
    if (col < 0 || col >= m_cols || pixels < 0)
        return false;
    m_colWidths[static_cast<size_t>(col)] = pixels;
    viewport()->update();
    return true;
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return (col >= 0 && col < m_cols) ? m_colWidths[static_cast<size_t>(col)] : 0;
}

bool CGridCtrl::SetRowHeight(int row, int pixels)
{
    if (row < 0 || row >= GetRowCount() || pixels < 0)
        return false;
    m_rowHeights[static_cast<size_t>(row)] = pixels;
    viewport()->update();
    return true;
}

int CGridCtrl::GetRowHeight(int row) const
{
    return (row >= 0 && row < GetRowCount()) ? m_rowHeights[static_cast<size_t>(row)] : 0;
}

bool CGridCtrl::AutoSizeColumn(int col)
{
    if (col < 0 || col >= m_cols || GetRowCount() == 0)
        return false;
    int width = 0;
    for (int row = 0; row < GetRowCount(); ++row)
        width = std::max(width, TextExtent(row, col, GetCellText(row, col)).width());
    ResizeColumn(col, width);
    UpdateScrollRanges();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row)
{
    if (row < 0 || row >= GetRowCount() || m_cols == 0)
        return false;
    int height = 0;
    for (int col = 0; col < m_cols; ++col)
        height = std::max(height, TextExtent(row, col, GetCellText(row, col)).height());
    SetRowHeight(row, height);
    UpdateScrollRanges();
    return true;
}

void CGridCtrl::UpdateScrollRanges()
{
    int contentWidth = 0;
    for (int col = m_fixedCols; col < m_cols; ++col)
        contentWidth += m_colWidths[static_cast<size_t>(col)];
    int contentHeight = 0;
    for (int row = m_fixedRows; row < GetRowCount(); ++row)
        contentHeight += m_rowHeights[static_cast<size_t>(row)];
    const int visibleWidth = std::max(0, viewport()->width() - FixedWidth());
    const int visibleHeight = std::max(0, viewport()->height() - FixedHeight());

    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - visibleWidth));
    horizontalScrollBar()->setPageStep(std::max(1, visibleWidth));
    horizontalScrollBar()->setSingleStep(std::max(1, GetDefaultCell(false, false)->GetWidth() / 4));
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - visibleHeight));
    verticalScrollBar()->setPageStep(std::max(1, visibleHeight));
    verticalScrollBar()->setSingleStep(std::max(1, GetDefaultCell(false, false)->GetHeight()));
}

int CGridCtrl::AppendRow(const QString& heading)
{
    if (GetRowCount() == std::numeric_limits<int>::max())
        return -1;
    ClearSelection();
    m_focus = {};
    m_anchor = {};
    if (m_cols == 0 && !SetColumns(1))
        return -1;
    const int row = GetRowCount();
    Row cells(static_cast<size_t>(m_cols));
    for (int col = 0; col < m_cols; ++col)
        cells[static_cast<size_t>(col)] = CreateCell(row, col);
    m_cells.push_back(std::move(cells));
    m_rowHeights.push_back(GetDefaultCell(row < m_fixedRows, false)->GetHeight());
    CGridCellBase* headingCell = CellAt(row, 0);
    headingCell->SetText(heading);
    if (!heading.isEmpty())
        m_rowHeights.back() = TextExtent(row, 0, heading).height();
    UpdateScrollRanges();
    m_modified = true;
    viewport()->update();
    return row;
}

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col)
{
    std::unique_ptr<CGridCellBase> cell =
        m_cellFactory ? m_cellFactory() : std::make_unique<CGridCell>();
    cell->Attach(this, GetDefaultCell(row < m_fixedRows, col < m_fixedCols));
    return cell;
}

bool CGridCtrl::ReplaceCell(int row, int col, std::unique_ptr<CGridCellBase> cell)
{
    std::unique_ptr<CGridCellBase>& slot =
        m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
    // An open edit of the old cell is finished first, so its text lands in the old cell and
    // is carried over.
    if (slot->IsEditing())
        slot->EndEdit();
    cell->Attach(this, slot->GetDefaultCell());
    cell->CopyFrom(*slot);
    slot = std::move(cell);
    viewport()->update(CellRect(row, col));
    return true;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol)
{
    return &m_defaultCells[(fixedRow ? 1U : 0U) + (fixedCol ? 2U : 0U)];
}

const CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    return &m_defaultCells[(fixedRow ? 1U : 0U) + (fixedCol ? 2U : 0U)];
}

// ---- cells -----------------------------------------------------------------------------

bool CGridCtrl::IsValid(int row, int col) const
{
    return row >= 0 && row < GetRowCount() && col >= 0 && col < m_cols;
}

CGridCellBase* CGridCtrl::CellAt(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    return m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].get();
}

bool CGridCtrl::SetCellText(int row, int col, const QString& text)
{
    CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return false;
    cell->SetText(text);
    cell->SetState(cell->GetState() | GridCellState::Modified);
    m_modified = true;
    viewport()->update(CellRect(row, col));
    return true;
}

QString CGridCtrl::GetCellText(int row, int col) const
{
    const CGridCellBase* cell = CellAt(row, col);
    return cell ? cell->GetText() : QString();
}

bool CGridCtrl::SetCellData(int row, int col, quintptr data)
{
    CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return false;
    cell->SetData(data);
    return true;
}

quintptr CGridCtrl::GetCellData(int row, int col) const
{
    const CGridCellBase* cell = CellAt(row, col);
    return cell ? cell->GetData() : 0;
}

unsigned CGridCtrl::GetCellState(int row, int col) const
{
    const CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return 0;
    unsigned state = cell->GetState();
    if (IsCellSelected(row, col))
        state |= GridCellState::Selected;
    if (row < m_fixedRows)
        state |= GridCellState::Fixed | GridCellState::FixedRow;
    if (col < m_fixedCols)
        state |= GridCellState::Fixed | GridCellState::FixedCol;
    if (m_focus.row == row && m_focus.col == col)
        state |= GridCellState::Focused;
    return state;
}

bool CGridCtrl::SetCellState(int row, int col, unsigned state)
{
    CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return false;
    // Selection, focus and fixedness are the grid's to track; the cell keeps the rest.
    cell->SetState(state & ~TrackedStates);
    if ((state & GridCellState::Selected) && !IsCellFixed(row, col))
        m_selection.insert({row, col});
    else
        m_selection.erase({row, col});
    viewport()->update(CellRect(row, col));
    return true;
}

// ---- switches --------------------------------------------------------------------------

void CGridCtrl::EnableTitleTips(bool enable)
{
    m_titleTips = enable;
    if (!enable)
        HideTitleTip();
}

void CGridCtrl::SetGridLines(bool draw)
{
    m_gridLines = draw;
    viewport()->update();
}

void CGridCtrl::SetImageList(const QList<QIcon>& images)
{
    m_images = images;
    viewport()->update();
}

void CGridCtrl::Invalidate()
{
    viewport()->update();
}

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

// ---- editing ---------------------------------------------------------------------------

bool CGridCtrl::VetoBegin(int row, int col)
{
    bool veto = false;
    emit beginLabelEdit(row, col, &veto);
    return veto;
}

bool CGridCtrl::VetoEnd(int row, int col)
{
    bool veto = false;
    emit endLabelEdit(row, col, &veto);
    return veto;
}

void CGridCtrl::BeginCellEdit(int row, int col, QPoint point, int key)
{
    HideTitleTip();
    CGridCellBase* cell = CellAt(row, col);
    if (!cell || !m_editable || IsCellFixed(row, col))
        return;
    if (cell->GetState() & GridCellState::ReadOnly)
        return;
    if (cell->IsEditing())
        return;
    if (m_focus.row != row || m_focus.col != col)
        MoveFocusTo({row, col}, false);
    if (!EnsureVisible(row, col))
        return;
    const QRect rect = CellRect(row, col);
    if (VetoBegin(row, col))
        return;
    // The veto handler may have changed the grid.
    cell = CellAt(row, col);
    if (cell && cell->Edit(row, col, rect, point, GridEditorId, key))
        m_editor = cell->GetEditWnd();
}

void CGridCtrl::EndCellEdit(int row, int col, const QString& text)
{
    CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return;
    if (text != cell->GetText()) {
        const QString previous = cell->GetText();
        const unsigned previousState = cell->GetState();
        SetCellText(row, col, text);
        const bool kept = ValidateCellEdit(row, col, text) && !VetoEnd(row, col);
        cell = CellAt(row, col);
        if (!cell)
            return;
        if (!kept) {
            cell->SetText(previous);
            cell->SetState(previousState);
        }
    }
    cell->OnEndEdit();
    viewport()->update(CellRect(row, col));
}

bool CGridCtrl::ValidateCellEdit(int, int, const QString&)
{
    return true;
}

void CGridCtrl::EndFocusEdit()
{
    if (CGridCellBase* cell = CellAt(m_focus.row, m_focus.col); cell && cell->IsEditing())
        cell->EndEdit();
}

void CGridCtrl::OnEndInPlaceEdit(QWidget* editor, int row, int col, const QString& text, int key,
                                 Qt::KeyboardModifiers modifiers)
{
    if (m_destroying)
        return;
    const CGridCellBase* cell = CellAt(row, col);
    if (!cell || cell->GetEditWnd() != editor)
        return;
    EndCellEdit(row, col, text);
    // Whatever an override of EndCellEdit did, this editor is finished.
    if (CGridCellBase* ended = CellAt(row, col); ended && ended->GetEditWnd() == editor)
        ended->OnEndEdit();
    if (key == GridKey::Tab || GridKey::IsNavigation(key)) {
        if (IsValid(row, col) && !IsCellFixed(row, col))
            m_focus = {row, col};
        MoveFocus(key, modifiers);
        BeginCellEdit(m_focus.row, m_focus.col, QPoint(-1, -1), key);
    }
}

bool CGridCtrl::SetCellTextValidated(int row, int col, const QString& text)
{
    CGridCellBase* cell = CellAt(row, col);
    if (!cell || !m_editable || IsCellFixed(row, col))
        return false;
    if ((cell->GetState() & GridCellState::ReadOnly) || VetoBegin(row, col))
        return false;
    bool kept = true;
    cell = CellAt(row, col);
    if (cell && text != cell->GetText()) {
        const QString previous = cell->GetText();
        const unsigned previousState = cell->GetState();
        SetCellText(row, col, text);
        kept = ValidateCellEdit(row, col, text) && !VetoEnd(row, col);
        cell = CellAt(row, col);
        if (cell && !kept) {
            cell->SetText(previous);
            cell->SetState(previousState);
        }
    }
    // The same ending as a typed edit, so that a subclass stores what the cell shows.
    if (cell)
        EndCellEdit(row, col, cell->GetText());
    return kept;
}

int CGridCtrl::GridKeyFromEvent(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return GridKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridKey::Enter;
    case Qt::Key_Escape:
        return GridKey::Escape;
    case Qt::Key_Backspace:
        return GridKey::Backspace;
    case Qt::Key_PageUp:
        return GridKey::PageUp;
    case Qt::Key_PageDown:
        return GridKey::PageDown;
    case Qt::Key_End:
        return GridKey::End;
    case Qt::Key_Home:
        return GridKey::Home;
    case Qt::Key_Left:
        return GridKey::Left;
    case Qt::Key_Up:
        return GridKey::Up;
    case Qt::Key_Right:
        return GridKey::Right;
    case Qt::Key_Down:
        return GridKey::Down;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return GridKey::None;
    const QList<uint> codes = text.toUcs4();
    return codes.isEmpty() ? GridKey::None
                           : GridKey::FromChar(static_cast<char32_t>(codes.first()));
}

// ---- clipboard -------------------------------------------------------------------------

QLineEdit* CGridCtrl::OpenLineEditor() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_editor.data()); edit && edit->isVisible())
        return edit;
    if (auto* list = qobject_cast<QComboBox*>(m_editor.data()); list && list->isVisible())
        return list->lineEdit();
    return nullptr;
}

QString CGridCtrl::SelectionText() const
{
    const QRect bounds = SelectedBounds();
    if (bounds.isNull())
        return {};
    QString text;
    for (int row = bounds.top(); row <= bounds.bottom(); ++row) {
        for (int col = bounds.left(); col <= bounds.right(); ++col) {
            if (col > bounds.left())
                text += QLatin1Char('\t');
            if (IsCellSelected(row, col))
                text += GetCellText(row, col);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void CGridCtrl::OnEditCopy()
{
    if (QLineEdit* edit = OpenLineEditor()) {
        edit->copy();
        return;
    }
    if (!m_selection.empty())
        QGuiApplication::clipboard()->setText(SelectionText());
}

void CGridCtrl::OnEditCut()
{
    if (!m_editable)
        return;
    if (QLineEdit* edit = OpenLineEditor()) {
        edit->cut();
        return;
    }
    OnEditCopy();
    OnEditClear();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_editable)
        return;
    if (QLineEdit* edit = OpenLineEditor()) {
        edit->paste();
        return;
    }
    const QRect bounds = SelectedBounds();
    const CCellID start = bounds.isNull() ? m_focus : CCellID{bounds.top(), bounds.left()};
    if (start.IsValid())
        PasteText(start.row, start.col, QGuiApplication::clipboard()->text());
}

void CGridCtrl::OnEditSelectAll()
{
    SelectAllCells();
}

void CGridCtrl::OnEditClear()
{
    if (!m_editable)
        return;
    EndFocusEdit();
    // The validated sets may call back into code that changes the selection.
    const std::set<std::pair<int, int>> cells = m_selection;
    for (const auto& [row, col] : cells)
        SetCellTextValidated(row, col, QString());
    viewport()->update();
}

bool CGridCtrl::PasteText(int row, int col, const QString& text)
{
    if (!IsValid(row, col))
        return false;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    bool reached = false;
    for (int i = 0; i < lines.size() && row + i < GetRowCount(); ++i) {
        const QString& line = lines.at(i);
        int fieldStart = 0;
        for (int c = col; c < m_cols; ++c) {
            // The last column takes the rest of the line as it stands, so no pasted text is
            // dropped silently.
            qsizetype end = -1;
            if (c < m_cols - 1) {
                const qsizetype tab = line.indexOf(QLatin1Char('\t'), fieldStart);
                const qsizetype comma = line.indexOf(QLatin1Char(','), fieldStart);
                end = (tab < 0) ? comma : (comma < 0 ? tab : std::min(tab, comma));
            }
            const QString field = line.mid(fieldStart, end < 0 ? -1 : end - fieldStart);
            SetCellTextValidated(row + i, c, field);
            reached = true;
            if (end < 0)
                break;
            fieldStart = static_cast<int>(end) + 1;
        }
    }
    viewport()->update();
    return reached;
}

// ---- events ----------------------------------------------------------------------------

bool CGridCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const bool control = keyEvent->modifiers().testFlag(Qt::ControlModifier);
        const bool shift = keyEvent->modifiers().testFlag(Qt::ShiftModifier);
        const int key = keyEvent->key();
        const bool ours = key == Qt::Key_Delete || key == Qt::Key_F2 ||
                          (control && (key == Qt::Key_C || key == Qt::Key_X || key == Qt::Key_V ||
                                       key == Qt::Key_A || key == Qt::Key_Insert)) ||
                          (shift && key == Qt::Key_Insert);
        if (ours) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && m_handleTab) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const bool plain = !(keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab)) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The grid keeps its own copy of the font in the default cells, which recompute their
        // margin and size from it.
        const QFont gridFont = font();
        for (CGridDefaultCell& cell : m_defaultCells)
            cell.SetFont(&gridFont);
        viewport()->update();
    }
}

void CGridCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    OnSize();
}

void CGridCtrl::OnSize()
{
    if (m_inSize)
        return;
    m_inSize = true;
    EndFocusEdit();
    UpdateScrollRanges();
    m_inSize = false;
}

void CGridCtrl::OnKeyUp(QKeyEvent* event)
{
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CGridCtrl::keyReleaseEvent(QKeyEvent* event)
{
    OnKeyUp(event);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event)
{
    HideTitleTip();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    const int qtKey = event->key();
    event->accept();

    if (control && (qtKey == Qt::Key_C || qtKey == Qt::Key_Insert)) {
        OnEditCopy();
        return;
    }
    if (control && qtKey == Qt::Key_X) {
        OnEditCut();
        return;
    }
    if ((control && qtKey == Qt::Key_V) || (shift && !control && qtKey == Qt::Key_Insert)) {
        OnEditPaste();
        return;
    }
    if (control && qtKey == Qt::Key_A) {
        OnEditSelectAll();
        return;
    }
    if (control && qtKey == Qt::Key_Plus && modifiers.testFlag(Qt::KeypadModifier)) {
        for (int col = 0; col < m_cols; ++col) {
            if (IsCellVisible(std::min(m_fixedRows, GetRowCount() - 1), col))
                AutoSizeColumn(col);
        }
        return;
    }

    if (qtKey == Qt::Key_Delete && !control) {
        OnEditClear();
        return;
    }
    if (qtKey == Qt::Key_F2) {
        BeginCellEdit(m_focus.row, m_focus.col, QPoint(-1, -1), GridKey::LButton);
        return;
    }

    // Typed characters share codes with F1, Insert and Delete, so those are told apart by
    // their Qt keys above and never reach this switch.
    const int key = GridKeyFromEvent(event);
    switch (key) {
    case GridKey::Tab:
        if (m_handleTab && !control) {
            MoveFocus(GridKey::Tab, modifiers);
            return;
        }
        break;
    case GridKey::Escape:
        break;
    case GridKey::Enter:
    case GridKey::Backspace:
        if (!control && !alt) {
            BeginCellEdit(m_focus.row, m_focus.col, QPoint(-1, -1), key);
            return;
        }
        break;
    default:
        if (GridKey::IsNavigation(key)) {
            MoveFocus(key, modifiers);
            return;
        }
        if (key >= GridKey::Space && !control && !alt) {
            BeginCellEdit(m_focus.row, m_focus.col, QPoint(-1, -1), key);
            return;
        }
        break;
    }
    event->ignore();
    QAbstractScrollArea::keyPressEvent(event);
}

void CGridCtrl::mousePressEvent(QMouseEvent* event)
{
    HideTitleTip();
    m_editOnRelease = false;
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const CCellID cell = CellFromPoint(event->position().toPoint());
    if (!cell.IsValid())
        return;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (cell.row < m_fixedRows && cell.col < m_fixedCols) {
        SelectAllCells();
        return;
    }
    if (cell.col < m_fixedCols) {
        // A row heading selects its row.
        MoveFocusTo({cell.row, m_fixedCols}, false);
        SetSelectedRange(cell.row, m_fixedCols, cell.row, m_cols - 1);
        return;
    }
    if (cell.row < m_fixedRows) {
        MoveFocusTo({m_fixedRows, cell.col}, false);
        SetSelectedRange(m_fixedRows, cell.col, GetRowCount() - 1, cell.col);
        return;
    }
    m_pressedCell = cell;
    if (cell == m_focus && !shift && !control) {
        m_editOnRelease = true;
        return;
    }
    if (control) {
        m_focus = cell;
        m_anchor = cell;
        if (IsCellSelected(cell.row, cell.col))
            m_selection.erase({cell.row, cell.col});
        else
            m_selection.insert({cell.row, cell.col});
        viewport()->update();
    } else {
        MoveFocusTo(cell, shift);
    }
    m_selecting = true;
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        if (!m_selecting)
            return;
        const CCellID cell = CellFromPoint(pos);
        if (cell.IsValid() && !IsCellFixed(cell.row, cell.col) && !(cell == m_focus)) {
            m_editOnRelease = false;
            MoveFocusTo(cell, true);
        }
        return;
    }
    if (m_titleTip->isVisible() && !m_titleTip->geometry().contains(viewport()->mapToGlobal(pos)))
        HideTitleTip();
    ShowTitleTipFor(pos);
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    m_selecting = false;
    if (event->button() == Qt::LeftButton && m_editOnRelease) {
        m_editOnRelease = false;
        const QPoint pos = event->position().toPoint();
        if (CellFromPoint(pos) == m_pressedCell)
            BeginCellEdit(m_pressedCell.row, m_pressedCell.col, pos, GridKey::LButton);
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    HideTitleTip();
    m_editOnRelease = false;
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (const int col = DividerAt(pos, true); col >= 0) {
        AutoSizeColumn(col);
        return;
    }
    if (const int row = DividerAt(pos, false); row >= 0) {
        AutoSizeRow(row);
        return;
    }
    const CCellID cell = CellFromPoint(pos);
    if (!cell.IsValid())
        return;
    if (!IsCellFixed(cell.row, cell.col)) {
        const CGridCellBase* target = CellAt(cell.row, cell.col);
        const int margin = target ? target->GetMargin() : 0;
        const QRect textArea =
            CellRect(cell.row, cell.col).adjusted(margin, margin, -margin, -margin);
        if (textArea.contains(pos))
            BeginCellEdit(cell.row, cell.col, pos, GridKey::LButton);
    }
    emit cellDoubleClicked(cell.row, cell.col);
}

void CGridCtrl::focusOutEvent(QFocusEvent* event)
{
    HideTitleTip();
    QAbstractScrollArea::focusOutEvent(event);
}

void CGridCtrl::leaveEvent(QEvent* event)
{
    if (m_titleTip->isVisible() && !m_titleTip->geometry().contains(QCursor::pos()))
        HideTitleTip();
    QAbstractScrollArea::leaveEvent(event);
}

void CGridCtrl::scrollContentsBy(int dx, int dy)
{
    HideTitleTip();
    if (m_editor && m_editor->isVisible())
        m_editor->move(m_editor->pos() + QPoint(dx, dy));
    viewport()->update();
}

// ---- title tips ------------------------------------------------------------------------

void CGridCtrl::ShowTitleTipFor(QPoint pos)
{
    if (!m_titleTips || m_titleTip->isVisible() || !QApplication::focusWidget())
        return;
    const CCellID id = CellFromPoint(pos);
    const CGridCellBase* cell = CellAt(id.row, id.col);
    if (!cell || cell->IsEditing() || cell->GetText().isEmpty())
        return;
    const QRect rect = CellRect(id.row, id.col);
    const QFont cellFont = CellFont(id.row, id.col);
    const QFontMetrics metrics(cellFont);
    const QString padded = QLatin1Char(' ') + cell->GetText() + QLatin1Char(' ');
    if (metrics.horizontalAdvance(padded) <= rect.width())
        return;
    const QRect global(viewport()->mapToGlobal(rect.topLeft()), rect.size());
    m_titleTip->Show(global, cell->GetText(), cell->GetMargin(), cellFont, cell->GetTextClr(),
                     cell->GetBackClr());
}

void CGridCtrl::HideTitleTip()
{
    if (m_titleTip && m_titleTip->isVisible())
        m_titleTip->hide();
}

// ---- drawing ---------------------------------------------------------------------------

void CGridCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int fixedWidth = FixedWidth();
    const int fixedHeight = FixedHeight();
    const QRect view = viewport()->rect();
    const QRect dirty = event->rect();

    // Four blocks: scrolling cells, fixed rows, fixed columns, the corner; each clipped so
    // that scrolled cells never run under the headings.
    const auto paintBlock = [&](int firstRow, int endRow, int firstCol, int endCol, QRect clip) {
        clip &= dirty;
        if (clip.isEmpty())
            return;
        painter.save();
        painter.setClipRect(clip);
        int top = RowTop(firstRow);
        for (int row = firstRow; row < endRow && top < clip.bottom() + 1; ++row) {
            const int height = m_rowHeights[static_cast<size_t>(row)];
            if (top + height > clip.top() && height > 0) {
                int left = ColumnLeft(firstCol);
                for (int col = firstCol; col < endCol && left < clip.right() + 1; ++col) {
                    const int width = m_colWidths[static_cast<size_t>(col)];
                    if (left + width > clip.left() && width > 0)
                        DrawCell(painter, row, col, QRect(left, top, width, height));
                    left += width;
                }
            }
            top += height;
        }
        painter.restore();
    };
    const int rows = GetRowCount();
    paintBlock(m_fixedRows, rows, m_fixedCols, m_cols,
               QRect(QPoint(fixedWidth, fixedHeight), view.bottomRight()));
    paintBlock(0, m_fixedRows, m_fixedCols, m_cols,
               QRect(QPoint(fixedWidth, 0), QPoint(view.right(), fixedHeight - 1)));
    paintBlock(m_fixedRows, rows, 0, m_fixedCols,
               QRect(QPoint(0, fixedHeight), QPoint(fixedWidth - 1, view.bottom())));
    paintBlock(0, m_fixedRows, 0, m_fixedCols,
               QRect(QPoint(0, 0), QPoint(fixedWidth - 1, fixedHeight - 1)));
}

void CGridCtrl::DrawCell(QPainter& painter, int row, int col, const QRect& rect) const
{
    const CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return;
    const unsigned state = GetCellState(row, col);
    const bool fixed = IsCellFixed(row, col);
    const CGridDefaultCell* defaults = GetDefaultCell(row < m_fixedRows, col < m_fixedCols);
    const QPalette& pal = palette();

    QColor back = cell->GetBackClr().isValid() ? cell->GetBackClr() : defaults->GetBackClr();
    if (!back.isValid())
        back = pal.color(fixed ? QPalette::Button : QPalette::Base);
    QColor fore = cell->GetTextClr().isValid() ? cell->GetTextClr() : defaults->GetTextClr();
    if (!fore.isValid())
        fore = pal.color(fixed ? QPalette::ButtonText : QPalette::Text);
    if ((state & GridCellState::Selected) && !fixed) {
        back = pal.color(QPalette::Highlight);
        fore = pal.color(QPalette::HighlightedText);
    }
    painter.fillRect(rect, back);

    const QPoint topLeft = rect.topLeft();
    const QPoint topRight(rect.left() + rect.width() - 1, rect.top());
    const QPoint bottomLeft(rect.left(), rect.top() + rect.height() - 1);
    const QPoint bottomRight(topRight.x(), bottomLeft.y());
    if (m_gridLines && fixed) {
        // Headings in the focus cell's row or column are drawn pressed.
        const bool sunken = (m_focus.row == row && row >= m_fixedRows) ||
                            (m_focus.col == col && col >= m_fixedCols);
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Shadow);
        painter.setPen(sunken ? dark : light);
        painter.drawLine(topLeft, topRight);
        painter.drawLine(topLeft, bottomLeft);
        painter.setPen(sunken ? light : dark);
        painter.drawLine(topRight, bottomRight);
        painter.drawLine(bottomLeft, bottomRight);
    } else if (m_gridLines) {
        painter.setPen(m_gridLineClr);
        painter.drawLine(topRight, bottomRight);
        painter.drawLine(bottomLeft, bottomRight);
    }
    if ((state & GridCellState::Focused) && !fixed) {
        painter.setPen(fore);
        painter.drawRect(rect.adjusted(0, 0, -2, -2));
    }

    const int margin = cell->GetMargin();
    QRect textRect = rect.adjusted(margin, margin, -margin, -margin);
    const int image = cell->GetImage();
    if (image >= 0 && image < m_images.size()) {
        const int side = std::min(textRect.height(), rect.height());
        m_images.at(image).paint(&painter, QRect(textRect.left(), textRect.top(), side, side));
        textRect.setLeft(textRect.left() + side + margin);
    }
    if (textRect.width() <= 0 || textRect.height() <= 0)
        return;

    const unsigned format = cell->GetFormat();
    int flags = 0;
    if (format & GridFormat::Right)
        flags |= Qt::AlignRight;
    else if (format & GridFormat::Center)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if (format & GridFormat::Bottom)
        flags |= Qt::AlignBottom;
    else if (format & GridFormat::VCenter)
        flags |= Qt::AlignVCenter;
    else
        flags |= Qt::AlignTop;
    const bool singleLine = format & GridFormat::SingleLine;
    if (singleLine)
        flags |= Qt::TextSingleLine;
    else if (format & GridFormat::WordBreak)
        flags |= Qt::TextWordWrap;

    const QFont cellFont = CellFont(row, col);
    painter.setFont(cellFont);
    painter.setPen(fore);
    QString text = cell->GetText();
    if (singleLine && (format & GridFormat::EndEllipsis))
        text = QFontMetrics(cellFont).elidedText(text, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, flags, text);
}
