#include "params/cTDGrid.h"

#include "params/CurrentCalibration.h"
#include "params/FieldHandlers.h"
#include "params/ParamDescriptor.h"
#include "params/ValueHints.h"

#include "lang/LanguagePack.h"
#include "platform/HelpOpener.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace {
constexpr int ValueColumn = 1;
constexpr int ColumnCount = 2;
// Index of the warning mark in the grid's image list.
constexpr int HintImage = 0;
} // namespace

cTDGrid::cTDGrid(CurrentCalibration& current, QWidget* parent)
    : CGridCtrl(parent), m_current(current)
{
    connect(&m_current, &CurrentCalibration::replaced, this, &cTDGrid::Refresh);
}

void cTDGrid::SetupRows()
{
    Clear();
    SetColumns(ColumnCount);
    SetFixedColumns(1);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    SetImageList({style()->standardIcon(QStyle::SP_MessageBoxWarning)});

    m_current.clear();
    const ParamDescriptor* table = ParamTable();
    for (int n = 0; table[n].labelId != 0; ++n) {
        const ParamDescriptor& row = table[n];
        const int index = AppendRow(Lang(static_cast<int>(row.labelId)));
        SetCellData(index, ValueColumn, reinterpret_cast<quintptr>(&row));
        row.run(ParamMode::Setup, index, *this, m_current.edit());
    }
    MarkStored();
    UpdateHints();
    emit setupFinished();
    m_initialised = true;
    // The view may already have its size; the columns follow it from now on.
    FitColumns();
}

void cTDGrid::Retranslate()
{
    EndFocusEdit();
    // The set-up zeroes the records and writes the new record's code page: what is on screen
    // is kept aside and put back.
    const ParamRecord param = m_current.param();
    const GsmRecord gsm = m_current.gsm();
    const OwnerRecord owner = m_current.owner();
    const ParamRecord storedParam = m_storedParam;
    const GsmRecord storedGsm = m_storedGsm;
    const OwnerRecord storedOwner = m_storedOwner;
    SetupRows();
    m_current.param() = param;
    m_current.gsm() = gsm;
    m_current.owner() = owner;
    m_storedParam = storedParam;
    m_storedGsm = storedGsm;
    m_storedOwner = storedOwner;
    Refresh();
    UpdateUnsaved();
}

void cTDGrid::MarkStored()
{
    m_storedParam = m_current.param();
    m_storedGsm = m_current.gsm();
    m_storedOwner = m_current.owner();
    UpdateUnsaved();
}

void cTDGrid::DiscardChanges()
{
    EndFocusEdit();
    m_current.param() = m_storedParam;
    m_current.gsm() = m_storedGsm;
    m_current.owner() = m_storedOwner;
    Refresh();
    UpdateUnsaved();
}

void cTDGrid::UpdateUnsaved()
{
    const bool unsaved = m_current.param().bytes != m_storedParam.bytes ||
                         m_current.gsm().bytes != m_storedGsm.bytes ||
                         m_current.owner().bytes != m_storedOwner.bytes;
    if (unsaved == m_unsaved)
        return;
    m_unsaved = unsaved;
    emit unsavedChangesChanged(unsaved);
}

bool cTDGrid::AcceptsOpenEdit()
{
    const int row = GetFocusCell().row;
    const int col = GetFocusCell().col;
    CGridCellBase* cell = CellAt(row, col);
    if (!cell || !cell->IsEditing())
        return true;
    QString text;
    if (const auto* edit = qobject_cast<const QLineEdit*>(cell->GetEditWnd()))
        text = edit->text();
    else if (const auto* list = qobject_cast<const QComboBox*>(cell->GetEditWnd()))
        text = list->currentText();
    else
        return true;
    if (text == cell->GetText())
        return true;
    // The handlers validate what the cell holds: the text is put there for the check only;
    // the editor keeps it either way.
    const QString previous = cell->GetText();
    const unsigned previousState = cell->GetState();
    SetCellText(row, col, text);
    const bool accepted = ValidateCellEdit(row, col, text);
    if (CGridCellBase* same = CellAt(row, col)) {
        same->SetText(previous);
        same->SetState(previousState);
    }
    if (!accepted)
        cell->GetEditWnd()->setFocus(Qt::OtherFocusReason);
    return accepted;
}

void cTDGrid::Refresh()
{
    const ParamDescriptor* table = ParamTable();
    for (int n = 0; table[n].labelId != 0 && n < GetRowCount(); ++n)
        table[n].run(ParamMode::Show, n, *this, m_current.edit());
    UpdateHints();
    Invalidate();
}

void cTDGrid::UpdateHints()
{
    m_hints.clear();
    for (int row = 0; row < GetRowCount(); ++row) {
        const ParamDescriptor* d = DescriptorAt(row, ValueColumn);
        const QString hint =
            d ? HintForValue(static_cast<int>(d->labelId), m_current.param(), m_current.gsm())
              : QString();
        m_hints.append(hint);
        if (CGridCellBase* cell = CellAt(row, ValueColumn))
            cell->SetImage(hint.isEmpty() ? -1 : HintImage);
    }
}

void cTDGrid::RunStorePass()
{
    // A save or print started from the keyboard leaves the cell editor open: its text is
    // what the user sees, so it is taken before the records are read.
    EndFocusEdit();
    const ParamDescriptor* table = ParamTable();
    for (int n = 0; table[n].labelId != 0 && n < GetRowCount(); ++n) {
        if (table[n].handler)
            table[n].run(ParamMode::Store, n, *this, m_current.edit());
    }
}

const ParamDescriptor* cTDGrid::DescriptorAt(int row, int col) const
{
    // The grid's cell data is an integer; the set-up stored the row's address in it.
    return reinterpret_cast<const ParamDescriptor*>( // NOLINT(performance-no-int-to-ptr)
        GetCellData(row, col));
}

void cTDGrid::BeginCellEdit(int row, int col, QPoint point, int key)
{
    if (const ParamDescriptor* d = DescriptorAt(row, col))
        d->run(ParamMode::BeginEdit, row, *this, m_current.edit());
    CGridCtrl::BeginCellEdit(row, col, point, key);
}

void cTDGrid::EndCellEdit(int row, int col, const QString& text)
{
    CGridCtrl::EndCellEdit(row, col, text);
    // The cell now shows the accepted text or the previous one; either way the record
    // takes what the screen shows.
    if (const ParamDescriptor* d = DescriptorAt(row, col))
        d->run(ParamMode::Store, row, *this, m_current.edit());
    // K is judged against W, so one edit may change the hint of another row.
    UpdateHints();
    Invalidate();
    UpdateUnsaved();
}

bool cTDGrid::ValidateCellEdit(int row, int col, const QString& text)
{
    const ParamDescriptor* d = DescriptorAt(row, col);
    if (!d)
        return CGridCtrl::ValidateCellEdit(row, col, text);
    if (d->run(ParamMode::Validate, row, *this, m_current.edit()))
        return true;
    const QString reason = RefusalReason(*d, text);
    if (!reason.isEmpty()) {
        emit editRefused(reason);
        const QRect cell = CellRect(row, col);
        QToolTip::showText(viewport()->mapToGlobal(cell.bottomLeft()), reason, viewport());
    }
    return false;
}

void cTDGrid::OnSize()
{
    CGridCtrl::OnSize();
    if (m_initialised)
        FitColumns();
}

int cTDGrid::WidestLabel() const
{
    // The label cells draw with the grid's font and a margin on each side.
    const QFontMetrics metrics(font());
    const int margin = 2 * metrics.averageCharWidth();
    int widest = 0;
    for (int row = 0; row < GetRowCount(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(GetCellText(row, 0)) + margin);
    return widest;
}

void cTDGrid::FitColumns()
{
    if (GetColumnCount() < ColumnCount)
        return;
    const int half = viewport()->width() / 2;
    const int labelWidth = std::max(LabelColumnWidth, std::min(WidestLabel(), half));
    ResizeColumn(0, labelWidth);
    const int valueWidth = viewport()->width() - labelWidth;
    if (valueWidth > 2)
        ResizeColumn(ValueColumn, valueWidth);
    UpdateScrollRanges();
}

bool cTDGrid::event(QEvent* event)
{
    // The grid opens the help itself when F1 is released, so the window's F1 shortcut must
    // not open it a second time on the press.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        event->accept();
        return true;
    }
    return CGridCtrl::event(event);
}

bool cTDGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const CCellID id = CellFromPoint(help->pos());
        if (id.col == ValueColumn && id.row >= 0 && id.row < m_hints.size() &&
            !m_hints.at(id.row).isEmpty()) {
            QToolTip::showText(help->globalPos(), m_hints.at(id.row), viewport(),
                               CellRect(id.row, id.col));
            return true;
        }
        // Moving on to a cell without a hint takes the previous cell's hint away.
        QToolTip::hideText();
    }
    return CGridCtrl::viewportEvent(event);
}

void cTDGrid::OnKeyUp(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        HelpOpener::open();
        return;
    }
    CGridCtrl::OnKeyUp(event);
}
