#include "reports/cHTMLFrame.h"

#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/PackResources.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"
#include "reports/PdfFileChooser.h"
#include "reports/ReportPrinter.h"
#include "reports/cHTMLView.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>

namespace {
constexpr int kStatusShownMs = 5000;
}

cHTMLFrame::cHTMLFrame(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("cHTMLFrame"));
    setWindowTitle(QStringLiteral("Ondrix Print [HTML View]"));
    setWindowIcon(PackResources::mainIcon());
    // Closing the main window ends the program even while a report is on screen.
    setAttribute(Qt::WA_QuitOnClose, false);
    OnCreateClient();
    resize(kInitialWidth, kInitialHeight);
}

void cHTMLFrame::OnCreateClient()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("reportToolBar"));
    m_toolBar->setMovable(false);
    m_view = new cHTMLView(this);
    setCentralWidget(m_view);
    m_printerLabel = new QLabel(this);
    m_printerLabel->setObjectName(QStringLiteral("reportPrinter"));
    statusBar()->addPermanentWidget(m_printerLabel);
    ReloadMenu();
    ShowPrinter();
}

void cHTMLFrame::ShowPrinter()
{
    m_printerLabel->setText(Lang(StringId::ReportPrinterLabel)
                                .arg(m_queue.isEmpty() ? Lang(StringId::NoPrinterShort) : m_queue));
}

void cHTMLFrame::ReloadMenu()
{
    const auto sink = [this](int id) { OnCommand(id); };
    MenuBuilder::fillMenuBar(menuBar(), ResourceId::ReportMenu, sink);
    MenuBuilder::fillToolBar(m_toolBar, ResourceId::ReportToolBar, sink);
}

bool cHTMLFrame::Navigate(const QUrl& url, const QString& pdfName, const QString& queue)
{
    ReloadMenu();
    QString error;
    if (!m_view->Navigate(url, &error)) {
        Prompts::warn(this, error);
        return false;
    }
    m_pdfName = pdfName;
    m_queue = queue;
    ShowPrinter();
    return true;
}

void cHTMLFrame::SetSubject(ReportKind kind, const QString& vehicle)
{
    m_kind = kind;
    m_vehicle = vehicle;
    ShowTitle();
}

void cHTMLFrame::ShowTitle()
{
    if (m_vehicle.isEmpty())
        return;
    const int document =
        m_kind == ReportKind::Record ? StringId::ReportTitleRecord : StringId::ReportTitleTicket;
    setWindowTitle(QStringLiteral("%1 — %2 — Velmora").arg(Lang(document), m_vehicle));
}

void cHTMLFrame::Retranslate()
{
    ReloadMenu();
    ShowPrinter();
    ShowTitle();
    QString error;
    // The document stays as written; only its rendering changes language.
    if (m_view->currentUrl().isValid() && !m_view->Navigate(m_view->currentUrl(), &error))
        Prompts::warn(this, error);
}

bool cHTMLFrame::OnCommand(int commandId)
{
    switch (commandId) {
    case CommandId::ReportPrint:
        OnPrint();
        return true;
    case CommandId::ReportPreview:
        OnPreview();
        return true;
    case CommandId::ReportSavePdf:
        OnSavePdf();
        return true;
    case CommandId::ReportClose:
        close();
        return true;
    default:
        return false;
    }
}

void cHTMLFrame::OnPrint()
{
    QString error;
    if (!ReportPrinter::print(*m_view->document(), m_pdfName, m_queue, &error)) {
        Prompts::warn(this, error);
        return;
    }
    statusBar()->showMessage(Lang(StringId::PrintSent).arg(m_queue), kStatusShownMs);
}

void cHTMLFrame::OnPreview()
{
    ReportPrinter::preview(*m_view->document(), m_queue, this);
}

QString cHTMLFrame::PdfFolder()
{
    // A dialog given a folder that does not exist opens in the program's current folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void cHTMLFrame::OnSavePdf()
{
    const std::optional<QString> path =
        PdfFileChooser::choose(this, QDir(PdfFolder()).filePath(m_pdfName));
    if (!path)
        return;
    QString error;
    if (!ReportPrinter::savePdf(*m_view->document(), QFileInfo(*path).completeBaseName(), *path,
                                &error)) {
        Prompts::warn(this, error);
        return;
    }
    statusBar()->showMessage(Lang(StringId::PdfSaved).arg(*path), kStatusShownMs);
}
