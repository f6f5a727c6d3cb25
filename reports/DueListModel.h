#pragma once

#include "navigation/InspectionDue.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDate>

#include <vector>

// The rows of the inspections-due window: one vehicle each, sortable by every column. The
// rows keep the order they were given in; sorting only changes the order they are shown in,
// so the owners and purposes read later find their rows by that first order.
class DueListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        WorkshopColumn,
        NumberColumn,
        OwnerColumn,
        PhoneColumn,
        PurposeColumn,
        LastCalibrationColumn,
        DueColumn,
        ColumnCount
    };

    explicit DueListModel(QObject* parent = nullptr);

    // New rows; a due date before `today` is overdue. Shown in the order last chosen.
    void setRows(std::vector<DueVehicle> rows, QDate today);
    // The same rows, in the order setRows() was given them, with owner, phone and purpose
    // read. Ignored when the count differs.
    void setDetails(const std::vector<DueVehicle>& read);

    // The vehicle shown in `row`.
    const DueVehicle& vehicleAt(int row) const;
    int overdueCount() const;
    bool isOverdue(int row) const;

    // The list as shown, with a header line: RFC 4180 (comma, fields quoted where they hold
    // a comma, quote or line break, CR LF line ends), UTF-8, dates as yyyy-MM-dd.
    QByteArray toCsv() const;
    // The list as shown, as an HTML page headed by `title`, for the PDF.
    QString toHtml(const QString& title) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString text(const DueVehicle& row, int column) const;
    // Puts m_order in the sort order chosen last, ties kept in the first order.
    void applySort();

    std::vector<DueVehicle> m_rows;
    std::vector<int> m_order; // m_order[shown row] = index into m_rows
    QDate m_today;
    int m_sortColumn = DueColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
