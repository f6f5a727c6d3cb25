#include "app/CVelmoraApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/LanguageChoice.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/HelpOpener.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "reports/ReportQueue.h"
#include "reports/cHTMLFrame.h"
#include "store/RegisterSaver.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

#include <cstdio>

namespace {
CVelmoraApp* g_app = nullptr;

// Shown when no pack can be loaded, so it cannot come from a pack.
QString packMissingText(const QString& name)
{
    return QStringLiteral("Velmora: the language pack %1.rcc was not found.\n"
                          "Velmora: языковой пакет %1.rcc не найден.\n"
                          "Searched / Поиск: %2")
        .arg(name, LanguagePack::searchPaths().join(QStringLiteral(", ")));
}
} // namespace

// Message boxes and Qt's own dialogs (the folder chooser) speak the language of the pack.
void CVelmoraApp::applyLanguage()
{
    Prompts::setButtonTexts(Lang(StringId::ButtonOk), Lang(StringId::ButtonYes),
                            Lang(StringId::ButtonNo), Lang(StringId::ButtonSave),
                            Lang(StringId::ButtonDiscard), Lang(StringId::ButtonCancel));
    QCoreApplication::removeTranslator(&m_qtTranslator);
    const QString language = LanguagePack::current().loadedName().section(QLatin1Char('_'), -1);
    HelpOpener::setSection(language);
    if (m_qtTranslator.load(QStringLiteral("qtbase_") + language,
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
}

CVelmoraApp::CVelmoraApp()
{
    g_app = this;
}

CVelmoraApp::~CVelmoraApp()
{
    m_reportWindow.reset();
    m_mainWindow.reset();
    if (g_app == this)
        g_app = nullptr;
}

CVelmoraApp* CVelmoraApp::instance()
{
    return g_app;
}

bool CVelmoraApp::InitInstance()
{
    m_startFolder = QDir::currentPath();
    HelpOpener::setStartFolder(m_startFolder);

    // The language chosen last time, else the desktop's; the other pack stands in for a
    // missing one, so the program still starts.
    const QString wanted = LanguageChoice::startPack();
    const QString other =
        wanted == LanguageChoice::kRussian ? LanguageChoice::kEnglish : LanguageChoice::kRussian;
    if (!LanguagePack::current().load(wanted) && !LanguagePack::current().load(other)) {
        const QString text = packMissingText(wanted);
        std::fprintf(stderr, "%s\n", qPrintable(text));
        Prompts::critical(nullptr, text);
        return false;
    }
    applyLanguage();

    LoadRegister();
    LoadPrinterSettings();

    m_mainWindow = std::make_unique<CMainFrame>(*this);
    m_mainWindow->OnInitialUpdate();
    m_mainWindow->show();
    return true;
}

int CVelmoraApp::ExitInstance()
{
    if (m_mainWindow)
        m_mainWindow->saveWindowState();
    return 0;
}

void CVelmoraApp::LoadRegister()
{
    const QString path = WorkshopRegister::serviceFilePath();
    int why = 0;
    // The workshops' details come with their folders' first readings, on workers: a folder on
    // a server that does not answer must not keep the window from showing.
    switch (m_register.load(path, WorkshopRegister::Records::Later)) {
    case WorkshopRegister::LoadResult::Loaded:
    case WorkshopRegister::LoadResult::Missing:
        return;
    case WorkshopRegister::LoadResult::NotAFile:
        why = StringId::RegisterNotAFile;
        break;
    case WorkshopRegister::LoadResult::TooLarge:
        why = StringId::RegisterTooLarge;
        break;
    case WorkshopRegister::LoadResult::Unreadable:
        why = StringId::RegisterCannotOpen;
        break;
    }
    Prompts::warn(m_mainWindow.get(), Lang(StringId::RegisterUnreadable).arg(path, Lang(why)));
}

bool CVelmoraApp::SaveRegister()
{
    return SaveRegisterOrWarn(m_register, m_mainWindow.get());
}

VehicleEntry* CVelmoraApp::FindVehicleByName(const QString& name)
{
    return m_register.findVehicleByName(name);
}

bool CVelmoraApp::SwitchLanguage(const QString& name)
{
    LanguagePack& pack = LanguagePack::current();
    const QString previous = pack.loadedName();
    const bool loaded = pack.load(name);
    if (!loaded && !previous.isEmpty())
        pack.load(previous);
    if (loaded)
        LanguageChoice::remember(name);
    applyLanguage();
    if (m_reportWindow && m_reportWindow->isVisible())
        m_reportWindow->Retranslate();
    return loaded;
}

void CVelmoraApp::OnAppAbout()
{
    CAboutDlg dlg(m_mainWindow.get());
    ModalRunner::run(dlg);
}

void CVelmoraApp::setViews(cTree* tree, cTDGrid* grid)
{
    m_tree = tree;
    m_grid = grid;
}

void CVelmoraApp::LoadPrinterSettings()
{
    m_printerSettings = PrinterSettings::load();
}

void CVelmoraApp::ShowReport(ReportKind kind, const PreparedReport& report)
{
    const QString printer = kind == ReportKind::Record ? m_printerSettings.recordPrinter
                                                       : m_printerSettings.ticketPrinter;
    const ReportQueue queue = ReportQueue::choose(printer);
    if (!queue.problem.isEmpty())
        Prompts::warn(m_mainWindow.get(), queue.problem);
    ShowPreview(MakeFileUrl(report.xmlPath), report.pdfName, queue.name);
    if (m_reportWindow)
        m_reportWindow->SetSubject(kind, report.vehicle);
}

void CVelmoraApp::ShowPreview(const QUrl& url, const QString& pdfName, const QString& queue)
{
    if (!m_reportWindow)
        m_reportWindow = std::make_unique<cHTMLFrame>();
    m_reportWindow->show();
    if (!m_reportWindow->Navigate(url, pdfName, queue))
        m_reportWindow->close();
    else
        m_reportWindow->raise();
}

QUrl CVelmoraApp::MakeFileUrl(const QString& path)
{
    return QUrl::fromLocalFile(path);
}
