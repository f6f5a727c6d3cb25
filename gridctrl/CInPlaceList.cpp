#include "gridctrl/CInPlaceList.h"

#include "gridctrl/CGridCellCombo.h"
#include "gridctrl/CGridCtrl.h"
#include "gridctrl/CInPlaceEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace {
constexpr int MaxDroppedWidth = 200;
constexpr int DroppedLines = 4;
} // namespace

CComboEdit::CComboEdit(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("id1001"));
}

CInPlaceList::CInPlaceList(CGridCtrl* grid, const QRect& rect, int comboStyle,
                           const QStringList& options, int row, int col, const QString& text,
                           int key)
    : QComboBox(grid->viewport()), m_grid(grid), m_row(row), m_col(col), m_startKey(key),
      m_originalText(text)
{
    setObjectName(QStringLiteral("VelmoraInPlaceList"));
    const bool editable = comboStyle != CGridCellCombo::DropDownList;
    setEditable(editable);
    if (editable) {
        setLineEdit(new CComboEdit(this));
        // The edit keeps what the user typed: no list insertion, no completion of the text.
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
    }
    setFont(grid->font());
    addItems(options);
    const int itemHeight = rect.height();
    for (int i = 0; i < count(); ++i)
        setItemData(i, QSize(0, itemHeight), Qt::SizeHintRole);

    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& option : options)
        widest = std::max(widest, metrics.horizontalAdvance(option));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_droppedWidth =
        std::min(MaxDroppedWidth, widest + scrollBar + metrics.horizontalAdvance(QLatin1Char('0')));
    m_droppedHeight = itemHeight + scrollBar + DroppedLines * itemHeight;
    view()->setMinimumWidth(m_droppedWidth);
    setMaxVisibleItems(DroppedLines);

    setGeometry(rect);
    m_originalIndex = MatchOption(options, text);
    setCurrentIndex(m_originalIndex);
    if (m_originalIndex < 0) {
        if (editable)
            setEditText(text);
        else
            setPlaceholderText(text);
    }
    // A pick from the open list, by Enter or by the mouse, ends the edit like Enter in the
    // edit field.
    connect(this, &QComboBox::activated, this, [this] { EndEdit(GridKey::Enter); });
    show();
    setFocus(Qt::OtherFocusReason);
    if (editable)
        CInPlaceEdit::ApplyStartKey(lineEdit(), key);
    // A typed character goes on into the edit field; an open list would take the keys that
    // follow it, so the list opens at once only when the edit did not start by typing.
    const bool typed =
        key == GridKey::Backspace || (key > GridKey::Space && !GridKey::IsNavigation(key));
    if (!(editable && typed))
        showPopup();
}

int CInPlaceList::MatchOption(const QStringList& options, const QString& text)
{
    for (int i = 0; i < options.size(); ++i) {
        if (options.at(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString CInPlaceList::CurrentEditText() const
{
    if (isEditable())
        return lineEdit()->text();
    // A pure list with nothing chosen keeps the cell's text rather than wiping it.
    return currentIndex() >= 0 ? currentText() : m_originalText;
}

void CInPlaceList::RestoreOriginal()
{
    setCurrentIndex(m_originalIndex);
    if (isEditable())
        setEditText(m_originalText);
}

void CInPlaceList::EndEdit(int key, Qt::KeyboardModifiers modifiers)
{
    if (m_ended)
        return;
    m_ended = true;
    const QString finalText = CurrentEditText();
    hidePopup();
    CInPlaceEdit::FinishEdit(this, m_grid, m_row, m_col, finalText, key, modifiers);
}

bool CInPlaceList::event(QEvent* event)
{
    if (CInPlaceEdit::ClaimEditorKey(event,
                                     [this](QKeyEvent* keyEvent) { keyPressEvent(keyEvent); }))
        return true;
    return QComboBox::event(event);
}

void CInPlaceList::keyPressEvent(QKeyEvent* event)
{
    CInPlaceEdit::HandleEditorKey(
        event, m_startKey, [this] { RestoreOriginal(); },
        [this](int key, Qt::KeyboardModifiers modifiers) { EndEdit(key, modifiers); },
        [this](QKeyEvent* e) { QComboBox::keyPressEvent(e); });
}

void CInPlaceList::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Opening the list, a context menu or a switch of window leaves the edit open.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (view() && view()->isVisible())
        return;
    EndEdit();
}
