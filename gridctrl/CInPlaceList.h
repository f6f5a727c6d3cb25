#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

class CGridCtrl;

// The edit field of a drop-down with an edit field; it takes the same initial caret as the
// text editor.
class CComboEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CComboEdit(QWidget* parent);
};

// The drop-down editor of a combo cell. Filled with the options in order; selects the first
// option that begins with the cell's text (ignoring case) or, failing that, shows the text
// itself; opens its list at once. Ends once, like the text editor, with the chosen option or
// the typed text.
class CInPlaceList : public QComboBox {
    Q_OBJECT

public:
    CInPlaceList(CGridCtrl* grid, const QRect& rect, int comboStyle, const QStringList& options,
                 int row, int col, const QString& text, int key);

    void EndEdit(int key = 0, Qt::KeyboardModifiers modifiers = {});
    // Index of the first option that begins with text, ignoring case; -1 when none does.
    static int MatchOption(const QStringList& options, const QString& text);
    int GetDroppedWidth() const { return m_droppedWidth; }
    int GetDroppedHeight() const { return m_droppedHeight; }
    QString GetOriginalText() const { return m_originalText; }
    // The text the edit ends with: the edit field's, or the chosen option's.
    QString CurrentEditText() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void RestoreOriginal();

    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_col;
    int m_startKey;
    QString m_originalText;
    int m_originalIndex = -1;
    int m_droppedWidth = 0;
    int m_droppedHeight = 0;
    bool m_ended = false;
};
