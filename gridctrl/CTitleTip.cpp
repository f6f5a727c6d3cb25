#include "gridctrl/CTitleTip.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

CTitleTip::CTitleTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                          Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("VelmoraTitleTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void CTitleTip::Show(const QRect& cellRect, const QString& text, int margin, const QFont& font,
                     QColor textClr, QColor backClr)
{
    m_text = text;
    m_margin = margin;
    m_textClr = textClr;
    m_backClr = backClr;
    setFont(font);
    const int width = fontMetrics().horizontalAdvance(text) + 2 * margin;
    QRect tipRect(cellRect.topLeft(), QSize(std::max(width, cellRect.width()), cellRect.height()));
    // Keep the tip on the screen of the cell, shifting it left when it would run off.
    if (const QScreen* screen = QGuiApplication::screenAt(cellRect.center())) {
        const QRect area = screen->availableGeometry();
        if (tipRect.right() > area.right())
            tipRect.moveRight(area.right());
        if (tipRect.left() < area.left())
            tipRect.moveLeft(area.left());
    }
    setGeometry(tipRect);
    show();
    update();
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor back = m_backClr.isValid() ? m_backClr : palette().color(QPalette::ToolTipBase);
    const QColor fore = m_textClr.isValid() ? m_textClr : palette().color(QPalette::ToolTipText);
    painter.fillRect(rect(), back);
    painter.setPen(fore);
    painter.drawText(rect().adjusted(m_margin, 0, -m_margin, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
