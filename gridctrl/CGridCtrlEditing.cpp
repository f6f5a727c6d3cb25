#include "gridctrl/CGridCtrl.h"

#include "gridctrl/CInPlaceEdit.h"
#include "gridctrl/CInPlaceList.h"

#include <QKeyEvent>

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
