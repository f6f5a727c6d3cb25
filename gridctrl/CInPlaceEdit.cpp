#include "gridctrl/CInPlaceEdit.h"

#include "gridctrl/CGridCtrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, const QRect& rect, int row, int col,
                           const QString& text, int key)
    : QLineEdit(grid->viewport()), m_grid(grid), m_row(row), m_col(col), m_startKey(key),
      m_originalText(text), m_startRect(rect)
{
    setObjectName(QStringLiteral("VelmoraInPlaceEdit"));
    setFrame(true);
    setFont(grid->font());
    setGeometry(rect);
    setText(text);
    show();
    setFocus(Qt::OtherFocusReason);
    ApplyStartKey(this, key);
    FitText();
}

void CInPlaceEdit::ApplyStartKey(QLineEdit* editor, int key)
{
    const char32_t ch = GridKey::CharOf(key);
    if (key == GridKey::Backspace) {
        editor->end(false);
        editor->backspace();
    } else if (key == GridKey::Tab || key == GridKey::Space || GridKey::IsNavigation(key)) {
        editor->selectAll();
    } else if (key != GridKey::LButton && key != GridKey::Enter && ch >= 0x20) {
        // The typed character replaces the text.
        editor->selectAll();
        editor->insert(QString::fromUcs4(&ch, 1));
    } else {
        editor->end(false);
    }
}

int CInPlaceEdit::EndingKey(const QKeyEvent* event, int startKey)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridKey::Enter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return GridKey::Tab;
    case Qt::Key_Escape:
        return GridKey::Escape;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // An edit started by the mouse or F2 keeps these keys for moving the caret.
        const bool control = event->modifiers().testFlag(Qt::ControlModifier);
        if (startKey != GridKey::LButton || control)
            return CGridCtrl::GridKeyFromEvent(event);
        return 0;
    }
    default:
        return 0;
    }
}

bool CInPlaceEdit::WantsKey(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;
    default:
        return !event->modifiers().testFlag(Qt::ControlModifier) && !event->text().isEmpty() &&
               event->text().at(0).isPrint();
    }
}

void CInPlaceEdit::EndEdit(int key, Qt::KeyboardModifiers modifiers)
{
    if (m_ended)
        return;
    m_ended = true;
    FinishEdit(this, m_grid, m_row, m_col, text(), key, modifiers);
}

void CInPlaceEdit::FinishEdit(QWidget* editor, CGridCtrl* grid, int row, int col,
                              const QString& text, int key, Qt::KeyboardModifiers modifiers)
{
    // Give the keyboard back to the grid before hiding, so that it does not wander elsewhere.
    if (grid && (key != 0 || editor->hasFocus()))
        grid->setFocus(Qt::OtherFocusReason);
    editor->hide();
    if (grid)
        grid->OnEndInPlaceEdit(editor, row, col, text, key, modifiers);
    editor->deleteLater();
}

bool CInPlaceEdit::ClaimEditorKey(QEvent* event, const std::function<void(QKeyEvent*)>& press)
{
    if (event->type() == QEvent::ShortcutOverride) {
        if (WantsKey(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        // Tab would otherwise move the focus to the next widget before keyPressEvent.
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            press(keyEvent);
            return true;
        }
    }
    return false;
}

bool CInPlaceEdit::event(QEvent* event)
{
    if (ClaimEditorKey(event, [this](QKeyEvent* keyEvent) { keyPressEvent(keyEvent); }))
        return true;
    return QLineEdit::event(event);
}

bool CInPlaceEdit::HandleEditorKey(QKeyEvent* event, int startKey,
                                   const std::function<void()>& restore,
                                   const std::function<void(int, Qt::KeyboardModifiers)>& end,
                                   const std::function<void(QKeyEvent*)>& pass)
{
    const int ending = EndingKey(event, startKey);
    if (ending == GridKey::Escape)
        restore();
    if (ending != 0) {
        event->accept();
        end(ending, event->modifiers());
        return true;
    }
    pass(event);
    // Keys that stay inside the editor must not reach the grid and move its focus cell.
    if (GridKey::IsNavigation(CGridCtrl::GridKeyFromEvent(event)))
        event->accept();
    return false;
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const bool ended = HandleEditorKey(
        event, m_startKey, [this] { setText(m_originalText); },
        [this](int key, Qt::KeyboardModifiers modifiers) { EndEdit(key, modifiers); },
        [this](QKeyEvent* e) { QLineEdit::keyPressEvent(e); });
    if (!ended)
        FitText();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (context menu) or a switch to another window leaves the edit open.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    EndEdit();
}

void CInPlaceEdit::FitText()
{
    if (!m_grid)
        return;
    const QFontMetrics metrics(font());
    const int frame = width() - contentsRect().width() + 8;
    const int needed = metrics.horizontalAdvance(text() + QStringLiteral("  ")) + frame;
    const int limit = m_grid->viewport()->width() - x();
    const int newWidth = std::min(std::max(needed, m_startRect.width()), std::max(limit, 0));
    if (newWidth > width())
        resize(newWidth, height());
}
