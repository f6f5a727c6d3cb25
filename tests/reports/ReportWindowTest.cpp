#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "reports/PdfFileChooser.h"
#include "reports/PrinterSettings.h"
#include "reports/cHTMLFrame.h"
#include "reports/cHTMLView.h"
#include "store/AtomicFileWriter.h"
#include "tests/reports/FakePrinters.h"
#include "tests/reports/ReportAppFixture.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPushButton>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ReportWindowTest : public ReportAppFixture {
protected:
    QString reportFile(const QString& vehicle) const
    {
        return m_data.filePath(QStringLiteral("data/reports/") + vehicle + QStringLiteral(".xml"));
    }

    FakePrinters m_printers{
        {QStringLiteral("office"), QStringLiteral("laser"), QStringLiteral("labels")},
        QStringLiteral("office")};
};

TEST_F(ReportWindowTest, printRecordFromTheMenu_writesTheXmlAndShowsThePage)
{
    ASSERT_TRUE((PrinterSettings{QStringLiteral("laser"), QStringLiteral("labels")}.save()));
    start();
    selectLevel(TreeLevel::Day);
    triggerMenu(frame(), CommandId::PrintRecord);

    const QByteArray xml = readAll(reportFile(QStringLiteral("A123BC")));
    EXPECT_TRUE(xml.contains("<tag_date>20260214</tag_date>\r\n"));
    EXPECT_TRUE(xml.contains("<tag_vin>WDB9634031L123456</tag_vin>\r\n"));
    EXPECT_TRUE(xml.contains("printer_view.xslt\"?>\r\n<taho_record>"));

    cHTMLFrame* window = m_app->reportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ondrix Print [HTML View]"));
    EXPECT_EQ(window->size(), QSize(cHTMLFrame::kInitialWidth, cHTMLFrame::kInitialHeight));
    const QString page = window->view()->toPlainText();
    EXPECT_TRUE(page.contains(QStringLiteral("ПРОТОКОЛ КАЛИБРОВКИ ТАХОГРАФА")));
    EXPECT_TRUE(page.contains(QStringLiteral("14.02.2026")));
    EXPECT_TRUE(page.contains(QStringLiteral("ООО «Грузовик»")));
    EXPECT_EQ(m_printers.defaultName, QStringLiteral("laser"));
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());

    // The ticket reuses the window at its last size and switches to its own printer.
    window->resize(640, 420);
    window->move(30, 40);
    const QPoint place = window->pos();
    triggerMenu(window, CommandId::ReportClose);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_printers.defaultName, QStringLiteral("office"));
    triggerMenu(frame(), CommandId::PrintTicket);
    EXPECT_EQ(m_app->reportWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(640, 420));
    EXPECT_EQ(window->pos(), place);
    EXPECT_TRUE(
        window->view()->toPlainText().contains(QStringLiteral("ТАЛОН ТРАНСПОРТНОГО СРЕДСТВА")));
    EXPECT_EQ(m_printers.defaultName, QStringLiteral("labels"));

    // Ending the program with the window open puts the start-up default back too.
    m_app->ExitInstance();
    EXPECT_EQ(m_printers.defaultName, QStringLiteral("office"));
}

TEST_F(ReportWindowTest, selectionRules_forBothDocuments)
{
    start();
    const struct {
        int level;
        int command;
        const char* file; // nullptr: nothing written, nothing shown
        const char* date;
    } cases[] = {
        {TreeLevel::Workshop, CommandId::PrintTicket, nullptr, nullptr},
        {TreeLevel::Workshop, CommandId::PrintRecord, "unknown", "<tag_date></tag_date>"},
        // The vehicle's selection shows its latest day, and that is the day printed.
        {TreeLevel::Vehicle, CommandId::PrintTicket, "A123BC", "<tag_date>20260214</tag_date>"},
        {TreeLevel::Day, CommandId::PrintTicket, "A123BC", "<tag_date>20260214</tag_date>"},
    };
    for (const auto& c : cases) {
        QFile::remove(reportFile(QStringLiteral("A123BC")));
        QFile::remove(reportFile(QStringLiteral("unknown")));
        if (m_app->reportWindow())
            m_app->reportWindow()->close();
        selectLevel(c.level);
        frame()->OnCommand(c.command);
        if (!c.file) {
            EXPECT_FALSE(QFile::exists(reportFile(QStringLiteral("unknown"))));
            EXPECT_TRUE(!m_app->reportWindow() || !m_app->reportWindow()->isVisible());
            continue;
        }
        EXPECT_TRUE(readAll(reportFile(QLatin1String(c.file))).contains(c.date)) << c.file;
        ASSERT_NE(m_app->reportWindow(), nullptr);
        EXPECT_TRUE(m_app->reportWindow()->isVisible());
    }
}

TEST_F(ReportWindowTest, printerSettingsDialog_listsEveryPrinterAndWritesPrinterTxt)
{
    ASSERT_TRUE((PrinterSettings{QStringLiteral("gone"), QStringLiteral("labels")}.save()));
    start();
    ModalRunner::pushHandler([](QDialog& dlg) {
        auto* record = dlg.findChild<QComboBox*>(QStringLiteral("id1007"));
        auto* ticket = dlg.findChild<QComboBox*>(QStringLiteral("id1008"));
        EXPECT_EQ(ticket->count(), 3);
        EXPECT_EQ(ticket->currentText(), QStringLiteral("labels"));
        // The stored printer that has gone is still offered first.
        EXPECT_EQ(record->itemText(0), QStringLiteral("gone"));
        EXPECT_EQ(record->currentText(), QStringLiteral("gone"));
        record->setCurrentText(QStringLiteral("laser"));
        ticket->setCurrentText(QStringLiteral("laser"));
        dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return dlg.result();
    });
    triggerMenu(frame(), CommandId::PrinterSettings);
    const PrinterSettings both{QStringLiteral("laser"), QStringLiteral("laser")};
    EXPECT_EQ(readAll(PrinterSettings::filePath()), both.toBytes());
    EXPECT_EQ(m_app->printerSettings(), both);

    // A write that fails is reported, and the dialog stays open with the file as it was.
    AtomicFileWriter::failNthWrite(1);
    ModalRunner::pushHandler([](QDialog& dlg) {
        dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        EXPECT_FALSE(dlg.result() == QDialog::Accepted);
        return int(QDialog::Rejected);
    });
    triggerMenu(frame(), CommandId::PrinterSettings);
    AtomicFileWriter::failNthWrite(0);
    EXPECT_EQ(
        Prompts::takeShownTexts(),
        QStringList{Lang(StringId::PrinterSettingsWriteFailed).arg(PrinterSettings::filePath())});
    EXPECT_EQ(readAll(PrinterSettings::filePath()), both.toBytes());
}

TEST_F(ReportWindowTest, printPreviewAndPdf_fromTheReportWindow)
{
    start();
    selectLevel(TreeLevel::Day);
    frame()->OnCommand(CommandId::PrintRecord);
    cHTMLFrame* window = m_app->reportWindow();
    ASSERT_NE(window, nullptr);

    triggerMenu(window, CommandId::ReportPrint);
    ASSERT_EQ(m_printers.jobs.size(), 1);
    EXPECT_EQ(m_printers.jobs[0].printer, QStringLiteral("office"));
    EXPECT_TRUE(m_printers.jobs[0].pdf.startsWith("%PDF"));
    m_printers.refusal = QStringLiteral("queue stopped");
    triggerMenu(window, CommandId::ReportPrint);
    EXPECT_EQ(Prompts::takeShownTexts(),
              QStringList{Lang(StringId::PrintRefused)
                              .arg(QStringLiteral("office"), QStringLiteral("queue stopped"))});

    bool previewed = false;
    ModalRunner::pushHandler([&previewed](QDialog& dlg) {
        previewed = qobject_cast<QPrintPreviewDialog*>(&dlg) != nullptr;
        return int(QDialog::Rejected);
    });
    triggerMenu(window, CommandId::ReportPreview);
    EXPECT_TRUE(previewed);

    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("record.pdf"));
    PdfFileChooser::pushChoice(pdf);
    triggerMenu(window, CommandId::ReportSavePdf);
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));
    PdfFileChooser::pushChoice(out.filePath(QStringLiteral("missing/record.pdf")));
    triggerMenu(window, CommandId::ReportSavePdf);
    EXPECT_EQ(Prompts::takeShownTexts(),
              QStringList{Lang(StringId::PdfWriteFailed)
                              .arg(out.filePath(QStringLiteral("missing/record.pdf")))});
}

TEST_F(ReportWindowTest, missingStylesheetOrUnwritableFile_isReportedAndNothingShown)
{
    start();
    selectLevel(TreeLevel::Day);
    QFile(m_data.filePath(QStringLiteral("data/reports"))).open(QIODevice::WriteOnly);
    frame()->OnCommand(CommandId::PrintRecord);
    const QStringList shown = Prompts::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(reportFile(QStringLiteral("A123BC"))));
    EXPECT_EQ(m_app->reportWindow(), nullptr);
    EXPECT_EQ(m_printers.defaultName, QStringLiteral("office"));
}

} // namespace
