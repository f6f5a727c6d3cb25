#pragma once

#include "navigation/InspectionDue.h"
#include "store/WorkshopRegister.h"

#include <QDialog>
#include <QFutureWatcher>

#include <functional>
#include <vector>

class DueListModel;
class VehicleIndex;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

// The window of inspections due: every vehicle whose latest calibration plus two years falls
// before the chosen date (at first 30 days from today), earliest first, so overdue ones lead.
// The list comes from the register's vehicle and day lists at once; owners, phones and
// purposes are read from the vehicles' files on a worker and filled in when they arrive.
// Double-click or Enter on a row hands its vehicle to the chooser; the list can be saved as
// CSV or as PDF. The window is not modal, so the technician works down the list.
class cDueListDlg : public QDialog {
    Q_OBJECT
public:
    // Owner, phone and purpose come from `index` (which may be null) where it has read the
    // vehicle, and from a read on a worker where it has not yet.
    cDueListDlg(const WorkshopRegister& reg, const VehicleIndex* index, QWidget* parent = nullptr);
    ~cDueListDlg() override;

    // Lists the vehicles again from the register, for the chosen date.
    void Reload();
    // Texts in the language in use.
    void Retranslate();
    void setChooser(std::function<void(const DueVehicle&)> chooser);

    QDateEdit* dueBeforeEdit() const { return m_before; }
    QTableView* view() const { return m_view; }
    DueListModel* model() const { return m_model; }

    static constexpr int kDefaultDaysAhead = 30;

signals:
    // Owners, phones and purposes of the rows listed last have been filled in.
    void detailsRead();

private:
    void Choose(const QModelIndex& index);
    void SaveCsv();
    void SavePdf();
    void ShowCount();
    QString ProposedPath(const QString& suffix) const;
    QString DocumentTitle() const;

    const WorkshopRegister& m_reg;
    const VehicleIndex* m_index;
    std::function<void(const DueVehicle&)> m_chooser;
    QDateEdit* m_before = nullptr;
    QLabel* m_beforeLabel = nullptr;
    QTableView* m_view = nullptr;
    DueListModel* m_model = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_csv = nullptr;
    QPushButton* m_pdf = nullptr;
    QPushButton* m_close = nullptr;
    QFutureWatcher<std::vector<DueVehicle>> m_details;
};

// The tree node of `vehicle`, found by its workshop folder and name in the register; null
// when the tree no longer holds it.
TreeNode DueVehicleNode(const WorkshopRegister& reg, const DueVehicle& vehicle);
