#pragma once

#include <QLineEdit>
#include <QPointer>

#include <functional>

class CGridCtrl;

// The text editor that a text cell opens over itself. It starts with the cell's text, places
// the caret by the key that started the edit, and ends once: on Enter, Tab, Escape (which
// first puts the starting text back), a navigation key when the edit was started by a key (or
// with Control held), or when it loses the focus. The end goes to the grid, then the editor
// deletes itself.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT

public:
    CInPlaceEdit(CGridCtrl* grid, const QRect& rect, int row, int col, const QString& text,
                 int key);

    // Ends the edit as if the focus had left (key 0); does nothing the second time.
    void EndEdit(int key = 0, Qt::KeyboardModifiers modifiers = {});
    int GetStartKey() const { return m_startKey; }
    QString GetOriginalText() const { return m_originalText; }

    // Places the caret in an editor that has just been filled with the cell's text, by the key
    // that started the edit (shared with the drop-down's edit field).
    static void ApplyStartKey(QLineEdit* editor, int key);
    // The GridKey code with which a key press ends an edit started by startKey; 0 when the
    // key stays inside the editor.
    static int EndingKey(const QKeyEvent* event, int startKey);
    // Whether an editor wants a key for itself rather than leave it to window shortcuts.
    static bool WantsKey(const QKeyEvent* event);
    // Shared by both editors' event(): claims the shortcuts an open editor handles itself and
    // sends Tab to `press` before Qt's focus chain can take it. True when the event was taken.
    static bool ClaimEditorKey(QEvent* event, const std::function<void(QKeyEvent*)>& press);
    // Shared by both editors' keyPressEvent(). A key that ends the edit started by startKey
    // is taken: Escape first has `restore` put the original text back, then `end` ends the
    // edit. Any other key goes to `pass` (the editor's own handling), and a navigation key is
    // kept from the grid, whose focus cell it would move. True when the edit ended.
    // Shared by both editors' EndEdit(): gives the keyboard back to the grid (when a key
    // ended the edit or the editor has it), hides `editor`, tells the grid that the edit of
    // its cell ended with `text`, and frees the editor once control is back in the event loop.
    static void FinishEdit(QWidget* editor, CGridCtrl* grid, int row, int col, const QString& text,
                           int key, Qt::KeyboardModifiers modifiers);
    static bool HandleEditorKey(QKeyEvent* event, int startKey,
                                const std::function<void()>& restore,
                                const std::function<void(int, Qt::KeyboardModifiers)>& end,
                                const std::function<void(QKeyEvent*)>& pass);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void FitText();

    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_col;
    int m_startKey;
    QString m_originalText;
    QRect m_startRect;
    bool m_ended = false;
};
