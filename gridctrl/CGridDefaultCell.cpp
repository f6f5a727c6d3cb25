#include "gridctrl/CGridDefaultCell.h"

#include <QFontMetrics>

CGridDefaultCell::CGridDefaultCell()
{
    SetMargin(3);
}

void CGridDefaultCell::SetFont(const QFont* font)
{
    CGridCell::SetFont(font);
    if (!font)
        return;
    const QFontMetrics metrics(*font);
    SetMargin(metrics.horizontalAdvance(QLatin1Char(' ')));
    const int width = metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX "));
    m_size = QSize(width, metrics.height() * 3 / 2);
}
