#include "gridctrl/CGridCellBase.h"

CGridCellBase::~CGridCellBase()
{
    // An editor whose cell is gone closes; the grid ignores whatever it reports.
    if (m_editor) {
        m_editor->hide();
        m_editor->deleteLater();
    }
}

bool CGridCellBase::Edit(int, int, const QRect&, QPoint, int, int)
{
    return false;
}

void CGridCellBase::EndEdit() {}

void CGridCellBase::OnEndEdit()
{
    m_editing = false;
    m_editor = nullptr;
}

void CGridCellBase::SetEditor(QWidget* editor)
{
    m_editor = editor;
    m_editing = editor != nullptr;
}

void CGridCellBase::CopyFrom(const CGridCellBase& other)
{
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextClr(other.GetTextClr());
    SetBackClr(other.GetBackClr());
    SetFont(other.GetOwnFont());
    SetMargin(other.GetMargin());
}

void CGridCellBase::Attach(CGridCtrl* grid, const CGridCellBase* defaultCell)
{
    m_grid = grid;
    m_defaultCell = defaultCell;
    if (defaultCell) {
        SetFormat(defaultCell->GetFormat());
        SetTextClr(defaultCell->GetTextClr());
        SetBackClr(defaultCell->GetBackClr());
        SetMargin(defaultCell->GetMargin());
    }
}

void CGridCellBase::SetDefaultCell(const CGridCellBase* defaultCell)
{
    m_defaultCell = defaultCell;
}
