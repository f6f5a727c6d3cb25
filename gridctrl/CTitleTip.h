#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

// The tip that shows a cell's whole text over the cell when the text does not fit. It never
// takes the focus and lets the mouse through to the grid, which hides it when the pointer
// leaves it, on a key, on a click and when the application loses the focus.
class CTitleTip : public QWidget {
    Q_OBJECT

public:
    explicit CTitleTip(QWidget* parent);

    // Shows text over cellRect (global coordinates); invalid colours keep the tip's own.
    void Show(const QRect& cellRect, const QString& text, int margin, const QFont& font,
              QColor textClr, QColor backClr);
    QString GetText() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    int m_margin = 0;
    QColor m_textClr;
    QColor m_backClr;
};
