#pragma once

#include "gridctrl/CGridCell.h"

#include <QSize>

// One of the grid's four default cells (normal, fixed row, fixed column, both). New cells take
// their format, colours and margin from it, and cells without a font of their own draw with
// its font. Giving it a font recomputes its metrics: the margin is the width of one space and
// the default size the extent of " XXXXXXXXXXXX " with the height taken 3/2 times.
class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();

    void SetFont(const QFont* font) override;
    QSize GetSize() const { return m_size; }
    int GetWidth() const { return m_size.width(); }
    int GetHeight() const { return m_size.height(); }
    void SetSize(QSize size) { m_size = size; }

private:
    QSize m_size{30, 10};
};
