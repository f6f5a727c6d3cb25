#include "app/CMainFrame.h"

#include "app/CVelmoraApp.h"
#include "app/LockIndicators.h"
#include "exchange/CalibrationSaver.h"
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

// Export, import, the two reports and the printer settings are routed here already; their
// work is done by the transfer and report features, which this build does not have yet.
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
    {CommandId::AppAbout, &CMainFrame::OnAppAbout},
    {CommandId::AppExit, &CMainFrame::OnAppExit},
};

const QString kEnglishPack = QStringLiteral("Velmora_en");
const QString kRussianPack = QStringLiteral("Velmora_ru");
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
    ReloadMenu();
    // The toolbar's tooltips follow the language too, so no control speaks the old one.
    ReloadToolBar();
    m_indicators->retranslate();
    statusBar()->showMessage(Lang(StringId::Ready));

    cTDGrid* grid = m_gridHost->grid();
    // The set-up lays the columns out again for the grid's present width.
    grid->SetupRows();
    grid->Refresh();
}

void CMainFrame::OnLanguageEnglish()
{
    SwitchLanguage(kEnglishPack);
}

void CMainFrame::OnLanguageRussian()
{
    SwitchLanguage(kRussianPack);
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

void CMainFrame::OnPrintRecord() {}

void CMainFrame::OnPrintTicket() {}

void CMainFrame::OnOpenHelp()
{
    HelpOpener::open();
}

void CMainFrame::OnDeleteNode()
{
    DeleteSelectedNode(m_app.workshopRegister(), *m_tree, this);
}

void CMainFrame::OnExport() {}

void CMainFrame::OnImport() {}

void CMainFrame::OnPrinterSettings() {}

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
