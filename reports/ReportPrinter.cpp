#include "reports/ReportPrinter.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/ModalRunner.h"
#include "platform/Printers.h"
#include "store/AtomicFileWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextOption>

#include <cerrno>
#include <memory>

namespace {

void setUpPage(QPrinter& printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(ReportPrinter::MarginMm, ReportPrinter::MarginMm,
                                                ReportPrinter::MarginMm, ReportPrinter::MarginMm),
                                      QPageLayout::Millimeter));
}

void render(const QTextDocument& page, QPrinter& printer)
{
    // Laid out anew for the paper, whose margins are the printer's page layout alone; the
    // shown page keeps its own width. The page size is given in the layout's own units, the
    // screen's logical pixels, so that the fonts keep their point sizes on paper.
    // The copy keeps the page's base address and loads its pictures through the page's own
    // loader, so the logo beside the document is found and nothing else is read.
    std::unique_ptr<QTextDocument> copy(page.clone(page.parent()));
    copy->setBaseUrl(page.baseUrl());
    copy->setDocumentMargin(0);
    QTextOption wrapping = copy->defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(wrapping);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    const QSizeF paper = printer.pageLayout().paintRect(QPageLayout::Inch).size() * dpi;
    copy->setPageSize(paper);
    if (copy->pageCount() == 1) {
        copy->print(&printer);
        return;
    }
    // A document is one sheet (its signature and stamp block must not be split): long values
    // are set in smaller type, by laying the page out on a larger sheet drawn scaled down.
    constexpr qreal kStep = 0.05;
    constexpr qreal kMostShrink = 2.0;
    qreal scale = 1.0;
    while (copy->pageCount() > 1 && scale < kMostShrink) {
        scale += kStep;
        copy->setPageSize(paper * scale);
    }
    if (copy->pageCount() > 1) {
        copy->setPageSize(paper);
        copy->print(&printer);
        return;
    }
    QPainter painter(&printer);
    const qreal factor = printer.resolution() / dpi / scale;
    painter.scale(factor, factor);
    copy->drawContents(&painter);
}

bool renderPdf(const QTextDocument& page, const QString& title, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("Velmora"));
    setUpPage(printer);
    render(page, printer);
    return QFile(path).size() > 0;
}

} // namespace

bool ReportPrinter::print(const QTextDocument& page, const QString& title, const QString& queue,
                          QString* error)
{
    if (queue.isEmpty()) {
        *error = Lang(StringId::NoDefaultPrinter);
        return false;
    }
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    QString refusal;
    if (!folder.isValid() || !renderPdf(page, title, pdf)) {
        *error = Lang(StringId::PdfWriteFailed).arg(pdf, qt_error_string(errno));
        return false;
    }
    if (Printers::printFile(queue, pdf, title, &refusal) == 0) {
        *error = Lang(StringId::PrintRefused).arg(queue, refusal);
        return false;
    }
    return true;
}

void ReportPrinter::preview(const QTextDocument& page, const QString& queue, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!queue.isEmpty())
        printer.setPrinterName(queue);
    setUpPage(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("reportPreview"));
    // A page-high preview where the screen has room for it, never taller or wider than the
    // screen it opens on.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    QSize size(900, 1000);
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    dialog.resize(size);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&page](QPrinter* target) { render(page, *target); });
    ModalRunner::run(dialog);
}

bool ReportPrinter::savePdf(const QTextDocument& page, const QString& title, const QString& path,
                            QString* error)
{
    QTemporaryDir folder;
    const QString rendered = folder.filePath(QStringLiteral("report.pdf"));
    QFile file(rendered);
    if (folder.isValid() && renderPdf(page, title, rendered) && file.open(QIODevice::ReadOnly) &&
        AtomicFileWriter::replace(path, file.readAll()))
        return true;
    *error = Lang(StringId::PdfWriteFailed).arg(path, qt_error_string(errno));
    return false;
}
