#include "navigation/GuardedSelectionModel.h"

GuardedSelectionModel::GuardedSelectionModel(QAbstractItemModel* model, QObject* parent)
    : QItemSelectionModel(model, parent)
{
}

void GuardedSelectionModel::setCurrentIndex(const QModelIndex& index,
                                            QItemSelectionModel::SelectionFlags command)
{
    m_refused = false;
    if (index.isValid() && index != currentIndex() && m_guard && !m_guard(index)) {
        m_refused = true;
        // The click or key that asked ends before this runs; later selections go through.
        QMetaObject::invokeMethod(
            this, [this] { m_refused = false; }, Qt::QueuedConnection);
        return;
    }
    QItemSelectionModel::setCurrentIndex(index, command);
}

void GuardedSelectionModel::select(const QItemSelection& selection,
                                   QItemSelectionModel::SelectionFlags command)
{
    if (m_refused)
        return;
    QItemSelectionModel::select(selection, command);
}
