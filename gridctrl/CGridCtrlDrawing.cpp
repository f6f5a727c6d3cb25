#include "gridctrl/CGridCtrl.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

// ---- drawing ---------------------------------------------------------------------------

void CGridCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int fixedWidth = FixedWidth();
    const int fixedHeight = FixedHeight();
    const QRect view = viewport()->rect();
    const QRect dirty = event->rect();

    // Four blocks: scrolling cells, fixed rows, fixed columns, the corner; each clipped so
    // that scrolled cells never run under the headings.
    const auto paintBlock = [&](int firstRow, int endRow, int firstCol, int endCol, QRect clip) {
        clip &= dirty;
        if (clip.isEmpty())
            return;
        painter.save();
        painter.setClipRect(clip);
        int top = RowTop(firstRow);
        for (int row = firstRow; row < endRow && top < clip.bottom() + 1; ++row) {
            const int height = m_rowHeights[static_cast<size_t>(row)];
            if (top + height > clip.top() && height > 0) {
                int left = ColumnLeft(firstCol);
                for (int col = firstCol; col < endCol && left < clip.right() + 1; ++col) {
                    const int width = m_colWidths[static_cast<size_t>(col)];
                    if (left + width > clip.left() && width > 0)
                        DrawCell(painter, row, col, QRect(left, top, width, height));
                    left += width;
                }
            }
            top += height;
        }
        painter.restore();
    };
    const int rows = GetRowCount();
    paintBlock(m_fixedRows, rows, m_fixedCols, m_cols,
               QRect(QPoint(fixedWidth, fixedHeight), view.bottomRight()));
    paintBlock(0, m_fixedRows, m_fixedCols, m_cols,
               QRect(QPoint(fixedWidth, 0), QPoint(view.right(), fixedHeight - 1)));
    paintBlock(m_fixedRows, rows, 0, m_fixedCols,
               QRect(QPoint(0, fixedHeight), QPoint(fixedWidth - 1, view.bottom())));
    paintBlock(0, m_fixedRows, 0, m_fixedCols,
               QRect(QPoint(0, 0), QPoint(fixedWidth - 1, fixedHeight - 1)));
}

void CGridCtrl::DrawCell(QPainter& painter, int row, int col, const QRect& rect) const
{
    const CGridCellBase* cell = CellAt(row, col);
    if (!cell)
        return;
    const unsigned state = GetCellState(row, col);
    const bool fixed = IsCellFixed(row, col);
    const CGridDefaultCell* defaults = GetDefaultCell(row < m_fixedRows, col < m_fixedCols);
    const QPalette& pal = palette();

    QColor back = cell->GetBackClr().isValid() ? cell->GetBackClr() : defaults->GetBackClr();
    if (!back.isValid())
        back = pal.color(fixed ? QPalette::Button : QPalette::Base);
    QColor fore = cell->GetTextClr().isValid() ? cell->GetTextClr() : defaults->GetTextClr();
    if (!fore.isValid())
        fore = pal.color(fixed ? QPalette::ButtonText : QPalette::Text);
    if ((state & GridCellState::Selected) && !fixed) {
        back = pal.color(QPalette::Highlight);
        fore = pal.color(QPalette::HighlightedText);
    }
    painter.fillRect(rect, back);

    const QPoint topLeft = rect.topLeft();
    const QPoint topRight(rect.left() + rect.width() - 1, rect.top());
    const QPoint bottomLeft(rect.left(), rect.top() + rect.height() - 1);
    const QPoint bottomRight(topRight.x(), bottomLeft.y());
    if (m_gridLines && fixed) {
        // Headings in the focus cell's row or column are drawn pressed.
        const bool sunken = (m_focus.row == row && row >= m_fixedRows) ||
                            (m_focus.col == col && col >= m_fixedCols);
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Shadow);
        painter.setPen(sunken ? dark : light);
        painter.drawLine(topLeft, topRight);
        painter.drawLine(topLeft, bottomLeft);
        painter.setPen(sunken ? light : dark);
        painter.drawLine(topRight, bottomRight);
        painter.drawLine(bottomLeft, bottomRight);
    } else if (m_gridLines) {
        painter.setPen(m_gridLineClr);
        painter.drawLine(topRight, bottomRight);
        painter.drawLine(bottomLeft, bottomRight);
    }
    if ((state & GridCellState::Focused) && !fixed) {
        painter.setPen(fore);
        painter.drawRect(rect.adjusted(0, 0, -2, -2));
    }

    const int margin = cell->GetMargin();
    QRect textRect = rect.adjusted(margin, margin, -margin, -margin);
    const int image = cell->GetImage();
    if (image >= 0 && image < m_images.size()) {
        const int side = std::min(textRect.height(), rect.height());
        m_images.at(image).paint(&painter, QRect(textRect.left(), textRect.top(), side, side));
        textRect.setLeft(textRect.left() + side + margin);
    }
    if (textRect.width() <= 0 || textRect.height() <= 0)
        return;

    const unsigned format = cell->GetFormat();
    int flags = 0;
    if (format & GridFormat::Right)
        flags |= Qt::AlignRight;
    else if (format & GridFormat::Center)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if (format & GridFormat::Bottom)
        flags |= Qt::AlignBottom;
    else if (format & GridFormat::VCenter)
        flags |= Qt::AlignVCenter;
    else
        flags |= Qt::AlignTop;
    const bool singleLine = format & GridFormat::SingleLine;
    if (singleLine)
        flags |= Qt::TextSingleLine;
    else if (format & GridFormat::WordBreak)
        flags |= Qt::TextWordWrap;

    const QFont cellFont = CellFont(row, col);
    painter.setFont(cellFont);
    painter.setPen(fore);
    QString text = cell->GetText();
    if (singleLine && (format & GridFormat::EndEllipsis))
        text = QFontMetrics(cellFont).elidedText(text, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, flags, text);
}
