#include "gridctrl/CGridCtrl.h"

#include "gridctrl/CTitleTip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

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
