#include "app/CMainFrame.h"

#include "app/CVelmoraApp.h"
#include "app/LanguageChoice.h"
#include "app/LockIndicators.h"
#include "exchange/CalibrationSaver.h"
#include "exchange/cExportDlg.h"
#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/NodeDeletion.h"
#include "navigation/WorkshopRegistration.h"
#include "navigation/cClientsDlg.h"
#include "navigation/cCreateClientDlg.h"
#include "navigation/cListParent.h"
#include "navigation/cNewCarDlg.h"
#include "navigation/cTree.h"
#include "params/cTDGrid.h"
#include "platform/HelpOpener.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "reports/ReportCommands.h"
#include "reports/cPrinterSettingsDlg.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace {
struct CommandEntry {
    int id;
    void (CMainFrame::*handler)();
};

constexpr CommandEntry kCommandTable[] = {
    {CommandId::LanguageEnglish, &CMainFrame::OnLanguageEnglish},
    {CommandId::LanguageRussian, &CMainFrame::OnLanguageRussian},
    {CommandId::WorkshopList, &CMainFrame::OnWorkshopList},
    {CommandId::SaveCalibration, &CMainFrame::OnSaveCalibration},
    {CommandId::PrintRecord, &CMainFrame::OnPrintRecord},
    {CommandId::PrintTicket, &CMainFrame::OnPrintTicket},
    {CommandId::OpenHelp, &CMainFrame::OnOpenHelp},
    {CommandId::DeleteNode, &CMainFrame::OnDeleteNode},
    {CommandId::Export, &CMainFrame::OnExport},
    {CommandId::Import, &CMainFrame::OnImport},
    {CommandId::PrinterSettings, &CMainFrame::OnPrinterSettings},
    {CommandId::NewWorkshop, &CMainFrame::OnNewWorkshop},
    {CommandId::NewVehicle, &CMainFrame::OnNewVehicle},
    {CommandId::Refresh, &CMainFrame::OnRefresh},
    {CommandId::AppAbout, &CMainFrame::OnAppAbout},
    {CommandId::AppExit, &CMainFrame::OnAppExit},
};

const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kWindowStateKey = QStringLiteral("mainWindow/state");
const QString kSplitterKey = QStringLiteral("mainWindow/splitter");
} // namespace

CMainFrame::CMainFrame(CVelmoraApp& app, QWidget* parent) : QMainWindow(parent), m_app(app)
{
    setObjectName(QStringLiteral("CMainFrame"));
    OnCreate();
    OnCreateClient();
    restoreWindowState();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::OnCreate()
{
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowIcon(LanguagePack::current().mainIcon());
    ReloadMenu();

    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setMovable(false);
    ReloadToolBar();

    m_indicators = new LockIndicators(statusBar());
    statusBar()->addPermanentWidget(m_indicators);
    statusBar()->showMessage(Lang(StringId::Ready));
}

void CMainFrame::OnCreateClient()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("mainSplitter"));
    m_splitter->setChildrenCollapsible(false);

    m_tree = new cTree(m_app.workshopRegister(), m_splitter);
    m_gridHost = new cListParent(m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_gridHost);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kInitialTreeWidth, qMax(width() - kInitialTreeWidth, 1)});
    setCentralWidget(m_splitter);

    m_tree->setCommandSink([this](int id) { OnCommand(id); });
    connect(m_tree, &cTree::titleChanged, this, &QWidget::setWindowTitle);
}

void CMainFrame::OnInitialUpdate()
{
    m_tree->OnInitialUpdate();
    m_gridHost->OnInitialUpdate();
    cTDGrid* grid = m_gridHost->grid();
    m_tree->setGrid(grid);
    m_app.setViews(m_tree, grid);
    connect(grid, &cTDGrid::editRefused, this,
            [this](const QString& reason) { statusBar()->showMessage(reason, kRefusalShownMs); });
}

bool CMainFrame::OnCommand(int commandId)
{
    for (const CommandEntry& entry : kCommandTable) {
        if (entry.id == commandId) {
            // A command may show a dialog or load other records: an edit still open in the
            // grid ends first, into the records it was typed for.
            if (m_gridHost && m_gridHost->grid())
                m_gridHost->grid()->EndFocusEdit();
            (this->*entry.handler)();
            return true;
        }
    }
    return false;
}

QList<int> CMainFrame::commandIds()
{
    QList<int> ids;
    for (const CommandEntry& entry : kCommandTable)
        ids.append(entry.id);
    return ids;
}

void CMainFrame::ReloadMenu()
{
    MenuBuilder::fillMenuBar(menuBar(), ResourceId::MainMenu, [this](int id) { OnCommand(id); });
}

void CMainFrame::ReloadToolBar()
{
    MenuBuilder::fillToolBar(m_toolBar, ResourceId::MainToolBar, [this](int id) { OnCommand(id); });
}

void CMainFrame::SwitchLanguage(const QString& packName)
{
    if (!m_app.SwitchLanguage(packName))
        Prompts::warn(this, Lang(StringId::PackLoadFailed).arg(packName + QStringLiteral(".rcc")));
    // The switch may have been chosen from the menu bar or the toolbar, whose action is
    // still delivering its click: they are rebuilt once that has returned.
    QMetaObject::invokeMethod(
        this,
        [this] {
            ReloadMenu();
            // The toolbar's tooltips follow the language too, so no control speaks the old
            // one.
            ReloadToolBar();
        },
        Qt::QueuedConnection);
    m_indicators->retranslate();
    statusBar()->showMessage(Lang(StringId::Ready));
    m_gridHost->grid()->Retranslate();
}

void CMainFrame::OnLanguageEnglish()
{
    SwitchLanguage(LanguageChoice::kEnglish);
}

void CMainFrame::OnLanguageRussian()
{
    SwitchLanguage(LanguageChoice::kRussian);
}

void CMainFrame::OnWorkshopList()
{
    cClientsDlg dlg(m_app.workshopRegister(), *m_tree, this);
    ModalRunner::run(dlg);
}

void CMainFrame::OnSaveCalibration()
{
    SaveCalibration(m_app.workshopRegister(), *m_tree, *m_gridHost->grid(), this);
}

void CMainFrame::OnPrintRecord()
{
    if (const auto report = PrepareReport(ReportKind::Record, *m_tree, *m_gridHost->grid(), this))
        m_app.ShowReport(ReportKind::Record, *report);
}

void CMainFrame::OnPrintTicket()
{
    if (const auto report = PrepareReport(ReportKind::Ticket, *m_tree, *m_gridHost->grid(), this))
        m_app.ShowReport(ReportKind::Ticket, *report);
}

void CMainFrame::OnOpenHelp()
{
    HelpOpener::open();
}

void CMainFrame::OnDeleteNode()
{
    DeleteSelectedNode(m_app.workshopRegister(), *m_tree, this);
}

void CMainFrame::OnExport()
{
    cExportDlg dlg(Lang(StringId::ExportCaption), this);
    if (dlg.Choose(*m_tree)) {
        const QString done = dlg.ExportSelection(m_app.workshopRegister(), *m_tree);
        if (!done.isEmpty())
            statusBar()->showMessage(done);
    }
}

void CMainFrame::OnImport()
{
    cExportDlg dlg(Lang(StringId::ImportCaption), this);
    if (dlg.Choose(*m_tree)) {
        const QString done = dlg.ImportToWorkshop(*m_tree);
        if (!done.isEmpty())
            statusBar()->showMessage(done);
    }
}

void CMainFrame::OnPrinterSettings()
{
    cPrinterSettingsDlg dlg(this);
    // Opening the dialog reads printer.txt again, as the start-up does.
    m_app.setPrinterSettings(dlg.settings());
    if (ModalRunner::run(dlg) == QDialog::Accepted)
        m_app.setPrinterSettings(dlg.settings());
}

void CMainFrame::OnNewWorkshop()
{
    cCreateClientDlg dlg(this);
    if (ModalRunner::run(dlg) == QDialog::Accepted)
        RegisterWorkshopFolder(dlg.WorkshopPath(), m_app.workshopRegister(), *m_tree, this);
}

void CMainFrame::OnNewVehicle()
{
    cNewCarDlg dlg(m_app.workshopRegister(), *m_tree, this);
    ModalRunner::run(dlg);
}

void CMainFrame::OnRefresh()
{
    // Another program or another machine may have changed the folders or the workshops'
    // details since they were read.
    for (WorkshopEntry& entry : m_app.workshopRegister().entries()) {
        WorkshopRecord record;
        if (ReadRecordFile(WorkshopRecordPathOf(entry.folderPath), record.bytes))
            entry.record = record;
    }
    m_tree->Rebuild();
}

void CMainFrame::OnAppAbout()
{
    m_app.OnAppAbout();
}

void CMainFrame::OnAppExit()
{
    close();
}

void CMainFrame::saveWindowState() const
{
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kWindowStateKey, saveState());
    settings.setValue(kSplitterKey, m_splitter->saveState());
}

void CMainFrame::restoreWindowState()
{
    QSettings settings;
    if (!restoreGeometry(settings.value(kGeometryKey).toByteArray()))
        resize(960, 640);
    restoreState(settings.value(kWindowStateKey).toByteArray());
    m_splitter->restoreState(settings.value(kSplitterKey).toByteArray());
}
