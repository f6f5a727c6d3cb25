#include "app/CMainFrame.h"

#include "app/LanguageChoice.h"
#include "app/LockIndicators.h"
#include "app/MainWindowHost.h"
#include "exchange/CalibrationSaver.h"
#include "exchange/cExportDlg.h"
#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/PackResources.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/NodeDeletion.h"
#include "navigation/TreeFindField.h"
#include "navigation/VehicleIndex.h"
#include "navigation/WorkshopRegistration.h"
#include "navigation/cClientsDlg.h"
#include "navigation/cCreateClientDlg.h"
#include "navigation/cHistoryDlg.h"
#include "navigation/cNewCarDlg.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/FieldText.h"
#include "params/RegistrationNumber.h"
#include "params/ValueHints.h"
#include "params/cListParent.h"
#include "params/cTDGrid.h"
#include "platform/BackgroundWork.h"
#include "platform/HelpOpener.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "reports/ReportCommands.h"
#include "reports/cDueListDlg.h"
#include "reports/cPrinterSettingsDlg.h"
#include "store/WorkshopRegister.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

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
    {CommandId::Find, &CMainFrame::OnFind},
    {CommandId::CalibrationHistory, &CMainFrame::OnCalibrationHistory},
    {CommandId::InspectionsDue, &CMainFrame::OnInspectionsDue},
    {CommandId::AppAbout, &CMainFrame::OnAppAbout},
    {CommandId::AppExit, &CMainFrame::OnAppExit},
};

bool ActsOnWorkshop(int commandId)
{
    switch (commandId) {
    case CommandId::SaveCalibration:
    case CommandId::NewVehicle:
    case CommandId::DeleteNode:
    case CommandId::Export:
    case CommandId::Import:
    case CommandId::PrintRecord:
    case CommandId::PrintTicket:
        return true;
    default:
        return false;
    }
}

const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kWindowStateKey = QStringLiteral("mainWindow/state");
const QString kSplitterKey = QStringLiteral("mainWindow/splitter");
} // namespace

CMainFrame::CMainFrame(MainWindowHost& app, QWidget* parent) : QMainWindow(parent), m_app(app)
{
    setObjectName(QStringLiteral("CMainFrame"));
    OnCreate();
    OnCreateClient();
    restoreWindowState();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::OnCreate()
{
    // "[*]" marks values changed and not saved yet.
    setWindowTitle(QStringLiteral("Velmora[*]"));
    setWindowIcon(PackResources::mainIcon());
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

    m_tree = new cTree(m_app.workshopRegister(), m_app.currentCalibration(), m_splitter);
    m_splitter->addWidget(CreateTreePane());
    m_gridHost = new cListParent(m_app.currentCalibration(), m_splitter);
    m_splitter->addWidget(m_gridHost);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kInitialTreeWidth, qMax(width() - kInitialTreeWidth, 1)});
    setCentralWidget(m_splitter);

    m_tree->setCommandSink([this](int id) { OnCommand(id); });
    connect(m_tree, &cTree::titleChanged, this,
            [this](const QString& title) { setWindowTitle(title + QStringLiteral("[*]")); });
    m_tree->setLeaveGuard([this](TreeNode target) {
        const QStringList targetAddress = m_tree->NodeAddress(target);
        bool saved = false;
        if (!MayLeaveEdits(&saved))
            return false;
        if (!saved)
            return true;
        // The save read its branch of the tree again, which may have replaced the node being
        // moved to: it is found by its place once the click or key has been handled.
        QMetaObject::invokeMethod(
            this,
            [this, targetAddress] {
                if (const TreeNode node = m_tree->NodeAt(targetAddress))
                    m_tree->SelectNode(node);
            },
            Qt::QueuedConnection);
        return false;
    });
}

QWidget* CMainFrame::CreateTreePane()
{
    m_index = new VehicleIndex(this);
    auto* pane = new QWidget;
    m_findField = new TreeFindField(*m_tree, *m_index, pane);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_findField);
    layout->addWidget(m_tree);

    const auto registeredFolders = [this] {
        QStringList folders;
        for (const WorkshopEntry& entry : m_app.workshopRegister().entries())
            folders.append(entry.folderPath);
        return folders;
    };
    connect(m_tree, &cTree::branchesRead, this,
            [this, registeredFolders](const QString& workshop, const QString& vehicle) {
                if (workshop.isEmpty())
                    m_index->readAll(registeredFolders());
                else
                    m_index->read(workshop, vehicle);
                m_findField->refilter();
            });
    connect(m_tree, &cTree::workshopDropped, this, [this, registeredFolders] {
        m_index->retain(registeredFolders());
        m_findField->refilter();
    });
    return pane;
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
    connect(grid, &cTDGrid::unsavedChangesChanged, this, &QWidget::setWindowModified);
}

bool CMainFrame::OnCommand(int commandId)
{
    for (const CommandEntry& entry : kCommandTable) {
        if (entry.id == commandId) {
            // A command may show a dialog or load other records: an edit still open in the
            // grid ends first, into the records it was typed for. Saving and printing take
            // the grid's values, so they stop at one the grid refuses, with the editor open.
            if (m_gridHost && m_gridHost->grid()) {
                const bool takesValues = commandId == CommandId::SaveCalibration ||
                                         commandId == CommandId::PrintRecord ||
                                         commandId == CommandId::PrintTicket;
                if (takesValues && !m_gridHost->grid()->AcceptsOpenEdit())
                    return true;
                m_gridHost->grid()->EndFocusEdit();
            }
            const QScopedValueRollback depth(m_commandDepth, m_commandDepth + 1);
            // A selection still being read is what the command acts on.
            m_tree->FinishLoad();
            // Another workstation may have changed the workshop this command acts on.
            if (ActsOnWorkshop(commandId))
                RereadWorkshops();
            (this->*entry.handler)();
            // A save, import, delete or refresh changes which inspections are due.
            if (m_dueList && m_dueList->isVisible() && commandId != CommandId::InspectionsDue)
                m_dueList->Reload();
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
    m_findField->retranslate();
    statusBar()->showMessage(Lang(StringId::Ready));
    m_gridHost->grid()->Retranslate();
    if (m_dueList)
        m_dueList->Retranslate();
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
    SaveOnScreen();
}

bool CMainFrame::SaveOnScreen()
{
    cTDGrid* grid = m_gridHost->grid();
    if (grid->HasUnsavedChanges() && m_tree->ShownChangedOnDisk() && !KeepMineOverTheirs())
        return false;
    if (!SaveCalibration(m_app.workshopRegister(), *m_tree, *grid, this))
        return false;
    // What was written is what is on screen, whether or not its day could be selected.
    grid->MarkStored();
    QString message = Lang(StringId::CalibrationSaved)
                          .arg(RegistrationNumberOf(m_app.currentCalibration().param()),
                               DisplayDate(QDate::currentDate()));
    // Hints never stop a save, but the technician hears of them once more.
    const QString unusual =
        UnusualValuesSummary(m_app.currentCalibration().param(), m_app.currentCalibration().gsm());
    if (!unusual.isEmpty())
        message += u' ' + unusual;
    statusBar()->showMessage(message);
    return true;
}

bool CMainFrame::KeepMineOverTheirs()
{
    const QFileInfo day(m_tree->ShownDayFolder());
    const QString question =
        Lang(StringId::ChangedElsewhereQuestion)
            .arg(QFileInfo(day.path()).fileName(), DisplayDayStamp(day.fileName()));
    switch (Prompts::askToSave(this, question, true, Lang(StringId::ButtonKeepMine),
                               Lang(StringId::ButtonLoadTheirs))) {
    case Prompts::Answer::Save:
        return true;
    case Prompts::Answer::Discard:
        m_tree->ReloadShown();
        return false;
    default:
        return false;
    }
}

bool CMainFrame::MayLeaveEdits(bool* saved)
{
    cTDGrid* grid = m_gridHost ? m_gridHost->grid() : nullptr;
    if (!grid)
        return true;
    grid->EndFocusEdit();
    if (!grid->HasUnsavedChanges())
        return true;
    switch (Prompts::askToSave(this, Lang(StringId::UnsavedChangesQuestion))) {
    case Prompts::Answer::Save:
        if (!SaveOnScreen())
            return false;
        if (saved)
            *saved = true;
        return true;
    case Prompts::Answer::Discard:
        grid->DiscardChanges();
        return true;
    default:
        return false;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!MayLeaveEdits()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::PrintReport(ReportKind kind)
{
    cTDGrid* grid = m_gridHost->grid();
    if (m_tree->ShownCalibrationDeleted()) {
        Prompts::warn(this, Lang(StringId::SelectCalibration));
        return;
    }
    // The printed record must be one that is stored.
    if (grid->HasUnsavedChanges()) {
        if (Prompts::askToSave(this, Lang(StringId::UnsavedBeforePrint), false,
                               Lang(StringId::ButtonSaveAndPrint)) != Prompts::Answer::Save ||
            !SaveOnScreen())
            return;
    }
    if (const auto report = PrepareReport(kind, *m_tree, *grid, this))
        m_app.ShowReport(kind, *report);
}

void CMainFrame::OnPrintRecord()
{
    PrintReport(ReportKind::Record);
}

void CMainFrame::OnPrintTicket()
{
    PrintReport(ReportKind::Ticket);
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
        const QString done = dlg.ExportSelection(*m_tree);
        if (!done.isEmpty())
            statusBar()->showMessage(done);
    }
}

void CMainFrame::OnImport()
{
    cExportDlg dlg(Lang(StringId::ImportCaption), this);
    // The import reads the calibrations again from disk, over the values on screen.
    if (dlg.Choose(*m_tree) && MayLeaveEdits()) {
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
        RegisterWorkshopFolder(dlg.WorkshopPath(), m_app.workshopRegister(), *m_tree, this,
                               dlg.MadeFolders());
}

void CMainFrame::OnNewVehicle()
{
    // The new vehicle is selected or takes the selection away from the values on screen.
    if (!MayLeaveEdits())
        return;
    cNewCarDlg dlg(m_app.workshopRegister(), *m_tree, this);
    ModalRunner::run(dlg);
}

void CMainFrame::OnRefresh()
{
    RereadWorkshops();
}

void CMainFrame::RereadWorkshops()
{
    // Another program or another machine may have changed the folders or the workshops'
    // details since they were read.
    m_tree->RereadAll();
}

bool CMainFrame::MayRereadNow() const
{
    if (m_commandDepth > 0 || BackgroundWork::Busy() || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return false;
    // A value being typed belongs to the calibration on screen, which a re-read may load anew.
    const QWidget* focus = QApplication::focusWidget();
    const cTDGrid* grid = m_gridHost ? m_gridHost->grid() : nullptr;
    return !(focus && grid && grid->isAncestorOf(focus) && focus != grid);
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Back in this window, the user expects to see what the other workstations did meanwhile.
    // The re-read waits for the activation to be handled, and is left out while anything is
    // under way. The first activation, at start-up, follows the tree's first build.
    if (event->type() != QEvent::ActivationChange)
        return;
    if (!isActiveWindow()) {
        m_wasLeft = true;
        return;
    }
    if (m_wasLeft && MayRereadNow())
        QTimer::singleShot(0, this, [this] {
            if (MayRereadNow())
                RereadWorkshops();
        });
}

void CMainFrame::OnFind()
{
    m_findField->activate();
}

void CMainFrame::OnCalibrationHistory()
{
    TreeNode vehicle = m_tree->SelectedNode();
    if (cTree::NodeLevel(vehicle) == TreeLevel::Day)
        vehicle = vehicle->parent();
    if (cTree::NodeLevel(vehicle) != TreeLevel::Vehicle) {
        Prompts::inform(this, Lang(StringId::HistorySelectVehicle));
        return;
    }
    // A window of its own beside the main one, so the tree stays at hand.
    auto* history = new cHistoryDlg(*m_tree, vehicle, this);
    history->show();
}

cDueListDlg* CMainFrame::dueList() const
{
    return m_dueList;
}

void CMainFrame::OnInspectionsDue()
{
    if (!m_dueList) {
        m_dueList = new cDueListDlg(m_app.workshopRegister(), m_index, this);
        m_dueList->setChooser([this](const DueVehicle& vehicle) {
            // Selecting the vehicle replaces the values on screen; a save on the way may
            // read the tree again, so the node is looked up after it.
            if (!MayLeaveEdits())
                return;
            if (const TreeNode node = DueVehicleNode(m_app.workshopRegister(), vehicle)) {
                m_tree->SelectNode(node);
                m_tree->scrollToItem(node);
            }
        });
    }
    // The tree may have changed since the window was last shown.
    m_dueList->Reload();
    m_dueList->show();
    m_dueList->raise();
    m_dueList->activateWindow();
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
