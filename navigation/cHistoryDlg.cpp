#include "navigation/cHistoryDlg.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/TreeNodes.h"
#include "navigation/cTree.h"
#include "store/FolderOps.h"
#include "store/RecordFaults.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumnTitles[CalibrationHistory::ColumnCount] = {
    StringId::HistoryColumnDate,     StringId::HistoryColumnPurpose,
    StringId::HistoryColumnW,        StringId::HistoryColumnK,
    StringId::HistoryColumnL,        StringId::HistoryColumnTyreSize,
    StringId::HistoryColumnOdometer, StringId::HistoryColumnSpeed};

// The full labels of the grid's rows, as the headers' tooltips.
constexpr int kColumnLabels[CalibrationHistory::ColumnCount] = {
    StringId::HistoryColumnDate, StringId::Purpose,  StringId::ConstantW, StringId::ConstantK,
    StringId::TyreCircumference, StringId::TyreSize, StringId::Odometer,  StringId::MaxSpeed};

} // namespace

cHistoryDlg::cHistoryDlg(cTree& tree, QTreeWidgetItem* vehicleNode, QWidget* parent)
    : QDialog(parent), m_tree(tree), m_vehicleAddress(tree.NodeAddress(vehicleNode))
{
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(Lang(StringId::HistoryTitle).arg(vehicleNode->text(0)));
    setAttribute(Qt::WA_DeleteOnClose);

    m_table = new QTableWidget(0, CalibrationHistory::ColumnCount, this);
    for (int column = 0; column < CalibrationHistory::ColumnCount; ++column) {
        auto* header = new QTableWidgetItem(Lang(kColumnTitles[column]));
        header->setToolTip(Lang(kColumnLabels[column]));
        m_table->setHorizontalHeaderItem(column, header);
    }
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { SelectDay(index.row()); });

    m_status = new QLabel(Lang(StringId::HistoryReading), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(760, 360);

    m_workshopFolder = WorkshopFolderOf(cTree::WorkshopNodeOf(vehicleNode));
    m_vehicleFolder = tree.GetNodePath(vehicleNode);
    // A save, import or deletion of this vehicle's days shows in the open window too.
    connect(&tree, &cTree::branchesRead, this,
            [this, vehicle = vehicleNode->text(0)](const QString& workshop, const QString& read) {
                if (workshop.isEmpty() ||
                    (workshop == m_workshopFolder && (read.isEmpty() || read == vehicle)))
                    Read();
            });
    Read();
}

void cHistoryDlg::Read()
{
    // A read still running is waited for, so the answers come in the order asked.
    m_reader = std::jthread([this, folder = m_vehicleFolder] {
        auto entries = CalibrationHistory::Read(folder);
        QMetaObject::invokeMethod(
            this, [this, entries = std::move(entries)] { Fill(entries); }, Qt::QueuedConnection);
    });
}

cHistoryDlg::~cHistoryDlg() = default;

void cHistoryDlg::Fill(const std::vector<CalibrationHistory::Entry>& entries)
{
    using namespace CalibrationHistory;
    m_table->setRowCount(int(entries.size()));
    m_days.clear();
    // A changed value stands out the way the desktop marks things for attention, in bold.
    QBrush changedBrush = palette().brush(QPalette::Active, QPalette::Highlight);
    QColor changedColor = changedBrush.color();
    changedColor.setAlpha(70);
    changedBrush.setColor(changedColor);
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const Entry& entry = entries[row];
        m_days << entry.day;
        // The calibration before is the next older one that has values.
        const Entry* before = nullptr;
        for (std::size_t older = row + 1; older < entries.size() && !before; ++older) {
            if (HasValues(entries[older]))
                before = &entries[older];
        }
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(CellText(entry, column));
            if (entry.state != RecordFileState::Whole) {
                item->setToolTip(Lang(StringId::HistoryRecordFault)
                                     .arg(kParamFileName, RecordFaultText(entry.state)));
            } else if (column != Date && before) {
                const QString was = CellText(*before, column);
                if (was != item->text()) {
                    QFont bold = item->font();
                    bold.setBold(true);
                    item->setFont(bold);
                    item->setBackground(changedBrush);
                    item->setToolTip(Lang(StringId::HistoryChanged).arg(was));
                }
            }
            m_table->setItem(int(row), column, item);
        }
    }
    m_table->resizeColumnsToContents();
    // The window widens to show every column, as far as the screen allows.
    const int wanted = m_table->horizontalHeader()->length() + 2 * m_table->frameWidth() + width() -
                       m_table->viewport()->width();
    const QScreen* screen = this->screen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : wanted;
    if (wanted > width())
        resize(qMin(wanted, room), height());
    // Enter works from the start; selecting the row would hide its marks under the
    // selection's colour.
    if (!entries.empty())
        m_table->selectionModel()->setCurrentIndex(m_table->model()->index(0, 0),
                                                   QItemSelectionModel::NoUpdate);
    m_status->setText(entries.empty() ? Lang(StringId::HistoryEmpty) : QString());
    m_status->setVisible(entries.empty());
    m_filled = true;
}

void cHistoryDlg::SelectDay(int row)
{
    if (row < 0 || row >= m_days.size())
        return;
    // Through the tree's own guard, which asks about values changed and not saved.
    if (const TreeNode day = m_tree.NodeAt(m_vehicleAddress + QStringList{m_days[row]})) {
        m_tree.setCurrentItem(day);
        m_tree.scrollToItem(day);
    }
}
