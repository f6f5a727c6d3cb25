#include "reports/cDueListDlg.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/VehicleIndex.h"
#include "platform/Prompts.h"
#include "reports/DueListModel.h"
#include "reports/PdfFileChooser.h"
#include "reports/ReportPrinter.h"
#include "reports/cHTMLFrame.h"
#include "store/AtomicFileWriter.h"

#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPromise>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTextDocument>
#include <QThreadPool>
#include <QVBoxLayout>

#include <memory>

cDueListDlg::cDueListDlg(const WorkshopRegister& reg, const VehicleIndex* index, QWidget* parent)
    : QDialog(parent), m_reg(reg), m_index(index)
{
    setObjectName(QStringLiteral("cDueListDlg"));
    setSizeGripEnabled(true);

    m_beforeLabel = new QLabel(this);
    m_before = new QDateEdit(QDate::currentDate().addDays(kDefaultDaysAhead), this);
    m_before->setObjectName(QStringLiteral("dueBefore"));
    m_before->setCalendarPopup(true);
    m_beforeLabel->setBuddy(m_before);

    m_model = new DueListModel(this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("dueList"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(DueListModel::DueColumn, Qt::AscendingOrder);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("dueStatus"));
    m_csv = new QPushButton(this);
    m_pdf = new QPushButton(this);
    m_close = new QPushButton(this);
    m_csv->setObjectName(QStringLiteral("saveCsv"));
    m_pdf->setObjectName(QStringLiteral("savePdf"));
    // Enter in the list chooses the row, so no button may take it.
    for (QPushButton* button : {m_csv, m_pdf, m_close})
        button->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(m_beforeLabel);
    top->addWidget(m_before);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_csv);
    buttons->addWidget(m_pdf);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    // Wide enough for all seven columns, the due date last, on a common screen.
    QSize wanted(1040, 520);
    if (const QScreen* shown = screen())
        wanted = wanted.boundedTo(shown->availableSize());
    resize(wanted);

    connect(m_before, &QDateEdit::dateChanged, this, &cDueListDlg::Reload);
    connect(m_view, &QAbstractItemView::activated, this, &cDueListDlg::Choose);
    connect(m_csv, &QPushButton::clicked, this, &cDueListDlg::SaveCsv);
    connect(m_pdf, &QPushButton::clicked, this, &cDueListDlg::SavePdf);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_details, &QFutureWatcher<std::vector<DueVehicle>>::finished, this, [this] {
        if (m_details.future().resultCount() > 0) {
            m_model->setDetails(m_details.result());
            m_view->resizeColumnsToContents();
        }
        ShowCount();
        emit detailsRead();
    });
    Retranslate();
    // The list is what the window is for: arrows and Enter work in it at once.
    m_view->setFocus();
}

// A worker still reading finishes on its own copy; its result goes nowhere.
cDueListDlg::~cDueListDlg() = default;

void cDueListDlg::Retranslate()
{
    setWindowTitle(Lang(StringId::DueTitle));
    m_beforeLabel->setText(Lang(StringId::DueBeforeLabel));
    m_before->setDisplayFormat(Lang(StringId::DateFormat));
    m_csv->setText(Lang(StringId::DueSaveCsvButton));
    m_pdf->setText(Lang(StringId::DueSavePdfButton));
    m_close->setText(Lang(StringId::ButtonClose));
    emit m_model->headerDataChanged(Qt::Horizontal, 0, DueListModel::ColumnCount - 1);
    if (m_details.isRunning())
        m_status->setText(Lang(StringId::DueReading));
    else
        ShowCount();
    m_view->viewport()->update();
}

void cDueListDlg::setChooser(std::function<void(const DueVehicle&)> chooser)
{
    m_chooser = std::move(chooser);
}

void cDueListDlg::Reload()
{
    std::vector<DueVehicle> rows = VehiclesDueBefore(m_reg, m_before->date());
    bool allKnown = true;
    for (DueVehicle& row : rows) {
        const FindKeys* keys = m_index ? m_index->keysOf(row.workshopFolder, row.vehicle) : nullptr;
        if (!keys) {
            allKnown = false;
            continue;
        }
        row.owner = keys->ownerText;
        row.phone = keys->phoneText;
        row.purpose = keys->purpose;
    }
    std::vector<DueVehicle> toRead = rows;
    m_model->setRows(std::move(rows), QDate::currentDate());
    m_view->resizeColumnsToContents();
    m_status->setText(Lang(StringId::DueReading));

    // Setting a new future drops the previous one's result unseen.
    auto promise = std::make_shared<QPromise<std::vector<DueVehicle>>>();
    m_details.setFuture(promise->future());
    promise->start();
    // What the index knows needs no read; the result still arrives through the watcher.
    if (allKnown) {
        promise->addResult(std::move(toRead));
        promise->finish();
        return;
    }
    QThreadPool::globalInstance()->start([promise, toRead]() mutable {
        ReadDueDetails(toRead);
        promise->addResult(std::move(toRead));
        promise->finish();
    });
}

void cDueListDlg::ShowCount()
{
    m_status->setText(
        Lang(StringId::DueCount).arg(m_model->rowCount()).arg(m_model->overdueCount()));
}

void cDueListDlg::Choose(const QModelIndex& index)
{
    if (index.isValid() && m_chooser)
        m_chooser(m_model->vehicleAt(index.row()));
}

QString cDueListDlg::DocumentTitle() const
{
    return Lang(StringId::DueDocumentTitle).arg(m_before->text());
}

QString cDueListDlg::ProposedPath(const QString& suffix) const
{
    const QString name = Lang(StringId::DueFileName) + u'_' +
                         m_before->date().toString(QStringLiteral("yyyyMMdd")) + u'.' + suffix;
    return QDir(cHTMLFrame::PdfFolder()).filePath(name);
}

void cDueListDlg::SaveCsv()
{
    const std::optional<QString> path = PdfFileChooser::chooseFile(
        this, ProposedPath(QStringLiteral("csv")), Lang(StringId::SaveCsvCaption),
        Lang(StringId::CsvFileFilter), QStringLiteral("csv"));
    if (!path)
        return;
    if (!AtomicFileWriter::replace(*path, m_model->toCsv())) {
        Prompts::warn(this, Lang(StringId::FileWriteFailed).arg(*path));
        return;
    }
    m_status->setText(Lang(StringId::PdfSaved).arg(*path));
}

void cDueListDlg::SavePdf()
{
    const std::optional<QString> path =
        PdfFileChooser::choose(this, ProposedPath(QStringLiteral("pdf")));
    if (!path)
        return;
    QTextDocument page;
    page.setHtml(m_model->toHtml(DocumentTitle()));
    QString error;
    if (!ReportPrinter::savePdf(page, QFileInfo(*path).completeBaseName(), *path, &error)) {
        Prompts::warn(this, error);
        return;
    }
    m_status->setText(Lang(StringId::PdfSaved).arg(*path));
}

TreeNode DueVehicleNode(const WorkshopRegister& reg, const DueVehicle& vehicle)
{
    for (const WorkshopEntry& workshop : reg.entries()) {
        if (workshop.folderPath != vehicle.workshopFolder)
            continue;
        for (const VehicleEntry& entry : workshop.vehicles) {
            if (entry.name == vehicle.vehicle)
                return entry.node;
        }
    }
    return nullptr;
}
