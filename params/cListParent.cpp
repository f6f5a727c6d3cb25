#include "params/cListParent.h"

#include "params/cTDGrid.h"

#include <QResizeEvent>

cListParent::cListParent(CurrentCalibration& current, QWidget* parent)
    : QWidget(parent), m_current(current)
{
}

void cListParent::OnInitialUpdate()
{
    if (!m_grid) {
        m_grid = new cTDGrid(m_current, this);
        m_grid->setGeometry(rect());
        m_grid->show();
    }
    m_grid->SetupRows();
}

void cListParent::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_grid) {
        m_grid->setGeometry(rect());
        m_grid->update();
    }
}
