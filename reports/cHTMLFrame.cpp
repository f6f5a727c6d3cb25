#include "reports/cHTMLFrame.h"

#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"
#include "reports/PdfFileChooser.h"
#include "reports/ReportPrinter.h"
#include "reports/cHTMLView.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
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
    setWindowIcon(LanguagePack::current().mainIcon());
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
    ReloadMenu();
}

void cHTMLFrame::ReloadMenu()
{
    const auto sink = [this](int id) { OnCommand(id); };
    MenuBuilder::fillMenuBar(menuBar(), ResourceId::ReportMenu, sink);
    MenuBuilder::fillToolBar(m_toolBar, ResourceId::ReportToolBar, sink);
}

bool cHTMLFrame::Navigate(const QUrl& url, const QString& pdfName)
{
    ReloadMenu();
    QString error;
    if (!m_view->Navigate(url, &error)) {
        Prompts::warn(this, error);
        return false;
    }
    m_pdfName = pdfName;
    return true;
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
    QString printer;
    QString error;
    if (!ReportPrinter::printOnDefault(*m_view->document(), m_pdfName, &printer, &error)) {
        Prompts::warn(this, error);
        return;
    }
    statusBar()->showMessage(Lang(StringId::PrintSent).arg(printer), kStatusShownMs);
}

void cHTMLFrame::OnPreview()
{
    ReportPrinter::preview(*m_view->document(), this);
}

void cHTMLFrame::OnSavePdf()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::optional<QString> path =
        PdfFileChooser::choose(this, QDir(documents).filePath(m_pdfName));
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

void cHTMLFrame::closeEvent(QCloseEvent* event)
{
    // Hidden, not destroyed: the next report reuses the window.
    event->accept();
    emit closed();
}
