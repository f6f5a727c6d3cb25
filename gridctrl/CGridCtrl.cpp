#include "gridctrl/CGridCtrl.h"

#include "gridctrl/CTitleTip.h"

#include <QGuiApplication>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace {
constexpr unsigned TrackedStates = GridCellState::Focused | GridCellState::Selected |
                                   GridCellState::Fixed | GridCellState::FixedRow |
                                   GridCellState::FixedCol;
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
