#pragma once

#include <QItemSelectionModel>

#include <functional>

// A selection model that asks before the current item moves, so that a view can keep its
// current item (and the work shown for it) when the move is refused. A refused move also
// drops the selection change that the same click or key press makes right after it.
class GuardedSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    // True lets the current item move to the index.
    using Guard = std::function<bool(const QModelIndex&)>;

    GuardedSelectionModel(QAbstractItemModel* model, QObject* parent);

    void setGuard(Guard guard) { m_guard = std::move(guard); }

    using QItemSelectionModel::select;
    void setCurrentIndex(const QModelIndex& index,
                         QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection,
                QItemSelectionModel::SelectionFlags command) override;

private:
    Guard m_guard;
    bool m_refused = false;
};
