#include "reports/DueListModel.h"

#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "params/ValueLists.h"

#include <QBrush>
#include <QFont>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kHeaderIds[DueListModel::ColumnCount] = {
    StringId::DueColumnWorkshop, StringId::DueColumnNumber,  StringId::DueColumnOwner,
    StringId::DueColumnPhone,    StringId::DueColumnPurpose, StringId::DueColumnLastCalibration,
    StringId::DueColumnDueDate,
};

QString PurposeText(int code)
{
    return code ? ValueLabel(QStringLiteral("purpose"), static_cast<std::uint32_t>(code))
                : QString();
}

QByteArray CsvField(const QString& text)
{
    QString field = text;
    if (field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
        field.contains(u'\r')) {
        field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        field = u'"' + field + u'"';
    }
    return field.toUtf8();
}

} // namespace

DueListModel::DueListModel(QObject* parent) : QAbstractTableModel(parent) {}

void DueListModel::setRows(std::vector<DueVehicle> rows, QDate today)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_today = today;
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    // The rows come earliest due first, which is the first order shown.
    if (m_sortColumn != DueColumn || m_sortOrder != Qt::AscendingOrder)
        applySort();
    endResetModel();
}

void DueListModel::setDetails(const std::vector<DueVehicle>& read)
{
    if (read.size() != m_rows.size() || m_rows.empty())
        return;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].owner = read[i].owner;
        m_rows[i].phone = read[i].phone;
        m_rows[i].purpose = read[i].purpose;
    }
    if (m_sortColumn == OwnerColumn || m_sortColumn == PhoneColumn ||
        m_sortColumn == PurposeColumn) {
        sort(m_sortColumn, m_sortOrder);
        return;
    }
    emit dataChanged(index(0, OwnerColumn), index(rowCount() - 1, PurposeColumn));
}

const DueVehicle& DueListModel::vehicleAt(int row) const
{
    return m_rows.at(m_order.at(row));
}

bool DueListModel::isOverdue(int row) const
{
    return vehicleAt(row).due < m_today;
}

int DueListModel::overdueCount() const
{
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(),
                                          [this](const DueVehicle& v) { return v.due < m_today; }));
}

QString DueListModel::text(const DueVehicle& row, int column) const
{
    switch (column) {
    case WorkshopColumn:
        return row.workshopName;
    case NumberColumn:
        return row.vehicle;
    case OwnerColumn:
        return row.owner;
    case PhoneColumn:
        return row.phone;
    case PurposeColumn:
        return PurposeText(row.purpose);
    case LastCalibrationColumn:
        return DisplayDate(row.lastCalibration);
    case DueColumn:
        return DisplayDate(row.due);
    default:
        return QString();
    }
}

int DueListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int DueListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DueListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const DueVehicle& row = vehicleAt(index.row());
    const bool overdue = row.due < m_today;
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case Qt::ToolTipRole:
        if (index.column() == DueColumn && overdue)
            return Lang(StringId::DueOverdue);
        if (index.column() == WorkshopColumn)
            return row.workshopFolder;
        return {};
    case Qt::FontRole:
        if (overdue && index.column() == DueColumn) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        // Pure red reads on light and dark themes alike.
        if (overdue && index.column() == DueColumn)
            return QBrush(Qt::red);
        return {};
    default:
        return {};
    }
}

QVariant DueListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Lang(kHeaderIds[section]);
}

void DueListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> shownRowOf(m_order.size());
    const std::vector<int> previous = m_order;
    applySort();
    for (std::size_t shown = 0; shown < m_order.size(); ++shown)
        shownRowOf[static_cast<std::size_t>(m_order[shown])] = static_cast<int>(shown);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(shownRowOf[static_cast<std::size_t>(previous[index.row()])],
                                 index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void DueListModel::applySort()
{
    std::iota(m_order.begin(), m_order.end(), 0);
    const int column = m_sortColumn;
    const auto less = [this, column](int a, int b) {
        const DueVehicle& x = m_rows[static_cast<std::size_t>(a)];
        const DueVehicle& y = m_rows[static_cast<std::size_t>(b)];
        switch (column) {
        case LastCalibrationColumn:
            return x.lastCalibration < y.lastCalibration;
        case DueColumn:
            return x.due < y.due;
        default:
            return QString::compare(text(x, column), text(y, column), Qt::CaseInsensitive) < 0;
        }
    };
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(m_order.begin(), m_order.end(), less);
    else
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&less](int a, int b) { return less(b, a); });
}

QByteArray DueListModel::toCsv() const
{
    const auto line = [](const QList<QString>& fields) {
        QByteArray out;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += ',';
            out += CsvField(fields[i]);
        }
        return out + "\r\n";
    };
    QList<QString> header;
    for (const int id : kHeaderIds)
        header.append(Lang(id));
    QByteArray csv = line(header);
    const QString iso = QStringLiteral("yyyy-MM-dd");
    for (int row = 0; row < rowCount(); ++row) {
        const DueVehicle& v = vehicleAt(row);
        csv += line({v.workshopName, v.vehicle, v.owner, v.phone, PurposeText(v.purpose),
                     v.lastCalibration.toString(iso), v.due.toString(iso)});
    }
    return csv;
}

QString DueListModel::toHtml(const QString& title) const
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"/><title>") +
                   title.toHtmlEscaped() + QStringLiteral("</title></head><body><h3>") +
                   title.toHtmlEscaped() +
                   QStringLiteral("</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                                  "width=\"100%\"><tr>");
    for (const int id : kHeaderIds)
        html += QStringLiteral("<th>") + Lang(id).toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (int row = 0; row < rowCount(); ++row) {
        const DueVehicle& v = vehicleAt(row);
        html += QStringLiteral("<tr>");
        for (int column = 0; column < ColumnCount; ++column) {
            const QString cell = text(v, column).toHtmlEscaped();
            const bool overdue = column == DueColumn && v.due < m_today;
            html += QStringLiteral("<td>") + (overdue ? QStringLiteral("<b>") : QString()) + cell +
                    (overdue ? QStringLiteral("</b>") : QString()) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}
