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
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <functional>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A report saver run through every failure position of the file writer, with the clean-up's
// removals working and failing: afterwards the file is the old one or a whole new one, no
// temporary file is left beside it, and a file that is not the new one was told once, with
// the reason. `isNew` tells a whole new file (a PDF carries its time of making); `asked` is
// what every save asks before it writes.
void SweepReportSaver(
    const QString& file, const std::function<void()>& save,
    const std::function<bool(const QByteArray& now, const QByteArray& made)>& isNew,
    const QString& failure, const QStringList& asked = {})
{
    const QByteArray old = "old report\n";
    const auto putOld = [&] {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(old);
    };
    putOld();
    AtomicFileWriter::failAtStep(0);
    save();
    const int steps = AtomicFileWriter::stepsTaken();
    const QByteArray made = readAll(file);
    ASSERT_EQ(Prompts::takeShownTexts(), asked);
    ASSERT_TRUE(isNew(made, made));
    ASSERT_NE(made, old);
    ASSERT_GE(steps, 8);
    for (const auto removals :
         {AtomicFileWriter::FaultPoint::Any, AtomicFileWriter::FaultPoint::Remove}) {
        for (int position = 1; position <= steps; ++position) {
            putOld();
            AtomicFileWriter::failEvery(removals);
            AtomicFileWriter::failAtStep(position);
            save();
            AtomicFileWriter::failAtStep(0);
            AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Any);
            const QByteArray now = readAll(file);
            const bool whole = isNew(now, made);
            EXPECT_TRUE(whole || now == old) << position;
            EXPECT_EQ(Prompts::takeShownTexts(), whole ? asked : asked + QStringList{failure})
                << position;
            for (const QString& name : QFileInfo(file).dir().entryList(QDir::Files | QDir::Hidden))
                EXPECT_FALSE(name.startsWith(u'.')) << position << ' ' << name.toStdString();
        }
    }
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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Протокол калибровки — A123BC — Velmora"));
    EXPECT_EQ(window->size(), QSize(cHTMLFrame::kInitialWidth, cHTMLFrame::kInitialHeight));
    const QString page = window->view()->toPlainText();
    EXPECT_TRUE(page.contains(QStringLiteral("ПРОТОКОЛ КАЛИБРОВКИ ТАХОГРАФА")));
    EXPECT_TRUE(page.contains(QStringLiteral("14.02.2026")));
    EXPECT_TRUE(page.contains(QStringLiteral("ООО «Грузовик»")));
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());

    // The ticket reuses the window at its last size.
    window->resize(640, 420);
    window->move(30, 40);
    const QPoint place = window->pos();
    triggerMenu(window, CommandId::ReportClose);
    EXPECT_FALSE(window->isVisible());
    triggerMenu(frame(), CommandId::PrintTicket);
    EXPECT_EQ(m_app->reportWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(640, 420));
    EXPECT_EQ(window->pos(), place);
    EXPECT_TRUE(
        window->view()->toPlainText().contains(QStringLiteral("ТАЛОН ТРАНСПОРТНОГО СРЕДСТВА")));
    // Calibrated on 14.02.2026: the next inspection is due two years on.
    const QString ticket = window->view()->toPlainText();
    EXPECT_TRUE(ticket.contains(QStringLiteral("Следующая проверка не позднее")));
    EXPECT_TRUE(ticket.contains(QStringLiteral("14.02.2028")));
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Талон транспортного средства — A123BC — Velmora"));
}

TEST_F(ReportWindowTest, eachReportPrintsOnItsOwnPrinterAndTheDefaultIsLeftAlone)
{
    const QString none = Lang(StringId::ReportPrinterLabel).arg(Lang(StringId::NoPrinterShort));
    const struct {
        const char* stored;  // the record printer in printer.txt
        const char* desktop; // the desktop's default printer
        const char* queue;   // where the page goes; nullptr: nowhere
        bool warnedGone;
    } cases[] = {
        {"laser", "office", "laser", false},
        {"", "office", "office", false},
        {"removed", "office", "office", true},
        {"", "", nullptr, false},
    };
    start();
    selectLevel(TreeLevel::Day);
    for (const auto& c : cases) {
        const QString stored = QString::fromUtf8(c.stored);
        m_app->setPrinterSettings({stored, QStringLiteral("labels")});
        m_printers.defaultName = QString::fromUtf8(c.desktop);
        m_printers.jobs.clear();
        m_printers.queries = 0;
        triggerMenu(frame(), CommandId::PrintRecord);
        cHTMLFrame* window = m_app->reportWindow();
        ASSERT_NE(window, nullptr);
        const QString queue = c.queue ? QString::fromUtf8(c.queue) : QString();
        EXPECT_EQ(window->printerLabel()->text(),
                  c.queue ? Lang(StringId::ReportPrinterLabel).arg(queue) : none)
            << c.stored;
        EXPECT_EQ(Prompts::takeShownTexts(),
                  c.warnedGone ? QStringList{Lang(StringId::PrinterGone).arg(stored, queue)}
                               : QStringList())
            << c.stored;

        triggerMenu(window, CommandId::ReportPrint);
        if (c.queue) {
            ASSERT_EQ(m_printers.jobs.size(), 1) << c.stored;
            EXPECT_EQ(m_printers.jobs[0].printer, queue);
        } else {
            EXPECT_TRUE(m_printers.jobs.isEmpty());
            EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::NoDefaultPrinter)});
        }
        triggerMenu(window, CommandId::ReportClose);
        // The scheduler is asked once for the report, and the desktop's choice stays.
        EXPECT_EQ(m_printers.queries, 1) << c.stored;
        EXPECT_EQ(m_printers.defaultName, QString::fromUtf8(c.desktop));
    }
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
        // The stored printer that has gone is still offered first, marked as gone.
        EXPECT_EQ(record->itemText(0),
                  Lang(StringId::PrinterNotInstalled).arg(QStringLiteral("gone")));
        EXPECT_EQ(record->currentIndex(), 0);
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
        const QSize room = dlg.screen()->availableGeometry().size();
        EXPECT_LE(dlg.width(), room.width());
        EXPECT_LE(dlg.height(), room.height());
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
                              .arg(out.filePath(QStringLiteral("missing/record.pdf")),
                                   qt_error_string(ENOENT))});
}

TEST_F(ReportWindowTest, missingStylesheetOrUnwritableFile_isReportedAndNothingShown)
{
    start();
    selectLevel(TreeLevel::Day);
    QFile(m_data.filePath(QStringLiteral("data/reports"))).open(QIODevice::WriteOnly);
    frame()->OnCommand(CommandId::PrintRecord);
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::ReportWriteFailed)
                                                         .arg(reportFile(QStringLiteral("A123BC")),
                                                              qt_error_string(ENOTDIR))});
    EXPECT_EQ(m_app->reportWindow(), nullptr);
}

TEST_F(ReportWindowTest, exitWithAReportOpen_endsTheProgram)
{
    start();
    selectLevel(TreeLevel::Day);
    triggerMenu(frame(), CommandId::PrintRecord);
    ASSERT_TRUE(m_app->reportWindow()->isVisible());
    // The program's own loop runs, as in main(); a guard ends it if Exit does not.
    bool guardFired = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&guardFired] {
        guardFired = true;
        QCoreApplication::quit();
    });
    guard.start(10000);
    QTimer::singleShot(0, frame(), [this] { triggerMenu(frame(), CommandId::AppExit); });
    QCoreApplication::exec();
    EXPECT_FALSE(guardFired);
    EXPECT_FALSE(frame()->isVisible());
}

TEST_F(ReportWindowTest, languageSwitch_redrawsTheOpenReport)
{
    cHTMLFrame* window = printDayRecord();
    ASSERT_NE(window, nullptr);
    triggerMenu(frame(), CommandId::LanguageEnglish);
    QCoreApplication::processEvents();
    EXPECT_TRUE(
        window->view()->toPlainText().contains(QStringLiteral("TACHOGRAPH CALIBRATION RECORD")));
    EXPECT_EQ(window->printerLabel()->text(), QStringLiteral("Printer: office"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Calibration record — A123BC — Velmora"));
    const QAction* print =
        FindCommandAction(window->menuBar()->findChildren<QAction*>(), CommandId::ReportPrint);
    ASSERT_NE(print, nullptr);
    EXPECT_FALSE(print->text().contains(QRegularExpression(QStringLiteral("[а-яА-Я]"))))
        << print->text().toStdString();
}

TEST_F(ReportWindowTest, reportFiles_replaceAPlantedLinkAndStayPrivate)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("victim.txt"));
    const QString reports = m_data.filePath(QStringLiteral("data/reports"));
    ASSERT_TRUE(QDir().mkpath(reports));
    ASSERT_TRUE(QFile::setPermissions(reports, QFileDevice::Permissions(0x7755)));
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    ASSERT_TRUE(QFile::link(victim, reportFile(QStringLiteral("A123BC"))));
    ASSERT_TRUE(QFile::link(victim, reports + QStringLiteral("/Ondrix.ico")));

    start();
    selectLevel(TreeLevel::Day);
    triggerMenu(frame(), CommandId::PrintRecord);
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
    EXPECT_EQ(readAll(victim), QByteArray("keep me"));
    const QFileInfo xml(reportFile(QStringLiteral("A123BC")));
    EXPECT_FALSE(xml.isSymLink());
    EXPECT_FALSE(QFileInfo(reports + QStringLiteral("/Ondrix.ico")).isSymLink());
    const QByteArray written = readAll(xml.filePath());
    EXPECT_TRUE(written.contains("<tag_vin>WDB9634031L123456</tag_vin>"));
    // The data link's password stays in the calibration's own record file.
    EXPECT_FALSE(written.contains("s3cret"));
    EXPECT_EQ(QFile::permissions(reports) & QFileDevice::Permissions(0x0077),
              QFileDevice::Permissions());
}

TEST_F(ReportWindowTest, pagePictures_logoOnPaperAndNothingFromElsewhere)
{
    const EmptyCurrentFolder elsewhere;
    cHTMLFrame* window = printDayRecord();
    ASSERT_NE(window, nullptr);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("record.pdf"));
    PdfFileChooser::pushChoice(pdf);
    triggerMenu(window, CommandId::ReportSavePdf);
    // The workshop's logo, not the 16-pixel sign of a picture that was not found.
    EXPECT_EQ(PdfPictures(pdf), QStringList{kLogoPicture});

    // A replaced stylesheet naming a picture outside the document's folder.
    const QString secret = out.filePath(QStringLiteral("secret.png"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(secret));
    ASSERT_TRUE(QDir(out.path()).mkdir(QStringLiteral("doc")));
    const QString folder = out.filePath(QStringLiteral("doc"));
    QFile sheet(folder + QStringLiteral("/hostile.xslt"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write(R"(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:template match="/"><html><body><p>page</p>
<img src="../secret.png"/><img src="file://)" +
                secret.toUtf8() + R"("/>
</body></html></xsl:template></xsl:stylesheet>)");
    sheet.close();
    QFile xml(folder + QStringLiteral("/hostile.xml"));
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write("<?xml version=\"1.0\"?><?xml-stylesheet type=\"text/xsl\" href=\"hostile.xslt\"?>"
              "<taho_record/>");
    xml.close();
    m_app->ShowPreview(CVelmoraApp::MakeFileUrl(xml.fileName()), QStringLiteral("x.pdf"), {});
    ASSERT_TRUE(window->view()->toPlainText().contains(QStringLiteral("page")));
    for (const QUrl& url : {QUrl(QStringLiteral("../secret.png")), QUrl::fromLocalFile(secret)})
        EXPECT_TRUE(window->view()
                        ->document()
                        ->resource(QTextDocument::ImageResource, url)
                        .value<QImage>()
                        .isNull())
            << url.toString().toStdString();
    const QString hostilePdf = out.filePath(QStringLiteral("hostile.pdf"));
    PdfFileChooser::pushChoice(hostilePdf);
    triggerMenu(window, CommandId::ReportSavePdf);
    EXPECT_FALSE(PdfPictures(hostilePdf).contains(QStringLiteral("40x30")));
}

TEST_F(ReportWindowTest, everyTextAtFullWidth_stillFitsOneSheet)
{
    using P = ParamRecord::Layout;
    using G = GsmRecord::Layout;
    using O = OwnerRecord::Layout;
    CalibrationDocument doc = FilledDocument();
    const auto words = [](int length) {
        QString text;
        while (text.size() < length)
            text += QStringLiteral("Шиномонтажная ");
        return text.left(length);
    };
    const auto single = [](std::uint8_t* record, std::size_t offset, std::size_t width) {
        std::memset(record + offset, 'W', width);
    };
    single(doc.param.bytes.data(), P::VinOffset, P::VinWidth);
    single(doc.param.bytes.data(), P::TyreSizeOffset, P::TyreSizeWidth);
    single(doc.gsm.bytes.data(), G::ApnOffset, G::ApnWidth);
    single(doc.gsm.bytes.data(), G::LoginOffset, G::LoginWidth);
    single(doc.gsm.bytes.data(), G::HostOffset, G::HostWidth);
    std::uint8_t* owner = doc.owner.bytes.data();
    EncodeWideText(QString(O::NameUnits, QChar(0x0428)), owner + O::NameOffset, O::NameUnits);
    EncodeWideText(words(O::AddressUnits), owner + O::AddressOffset, O::AddressUnits);
    EncodeWideText(QString(O::PhoneUnits, u'8'), owner + O::PhoneOffset, O::PhoneUnits);
    EncodeWideText(words(O::ModelUnits), owner + O::ModelOffset, O::ModelUnits);
    using F = WorkshopRecord::Field;
    doc.workshop.setField(F::Name, words(260));
    doc.workshop.setField(F::Address, words(260));
    doc.workshop.setField(F::Phone, QString(32, u'8'));
    doc.workshop.setField(F::Index, QString(32, u'9'));
    const QString vehicle = ExchangeFolderOf(m_workshop) + QStringLiteral("/A123BC");
    ASSERT_TRUE(
        WriteRecordFile(vehicle + QStringLiteral("/20260214/") + kParamFileName, doc.param.bytes));
    ASSERT_TRUE(
        WriteRecordFile(vehicle + QStringLiteral("/20260214/") + kGsmFileName, doc.gsm.bytes));
    ASSERT_TRUE(WriteRecordFile(vehicle + u'/' + kOwnerFileName, doc.owner.bytes));
    ASSERT_TRUE(WriteRecordFile(ExchangeFolderOf(m_workshop) + QStringLiteral("/SINFO.BIN"),
                                doc.workshop.bytes));

    start();
    selectLevel(TreeLevel::Day);
    QTemporaryDir out;
    for (const int language : {CommandId::LanguageRussian, CommandId::LanguageEnglish}) {
        triggerMenu(frame(), language);
        for (const int report : {CommandId::PrintRecord, CommandId::PrintTicket}) {
            triggerMenu(frame(), report);
            const QString pdf = out.filePath(QStringLiteral("%1-%2.pdf").arg(language).arg(report));
            PdfFileChooser::pushChoice(pdf);
            triggerMenu(m_app->reportWindow(), CommandId::ReportSavePdf);
            EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf})
                            .contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
                << pdf.toStdString();
            // Units stay whole and with the words before them.
            QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            text.remove(QChar(0x2060));
            EXPECT_TRUE(text.contains(language == CommandId::LanguageRussian
                                          ? QStringLiteral("км/ч")
                                          : QStringLiteral("km/h")))
                << text.toStdString();
            EXPECT_FALSE(text.contains(
                QRegularExpression(QStringLiteral("(^|\\n)\\s*(км/ч|km/h|имп/км|pulses/km)"))))
                << text.toStdString();
        }
    }
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
}

TEST(ReportPdfFolderTest, documentsElseHome)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    const QString home1 = QDir::homePath();
    const QString noDocuments = cHTMLFrame::PdfFolder();
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    const QString withDocuments = cHTMLFrame::PdfFolder();
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(noDocuments, home1);
    EXPECT_EQ(withDocuments, home.filePath(QStringLiteral("Documents")));
}

TEST_F(ReportWindowTest, reportXml_sweptOverEveryFailurePosition)
{
    start();
    selectLevel(TreeLevel::Day);
    const QString xml = reportFile(QStringLiteral("A123BC"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(xml).path()));
    SweepReportSaver(
        xml, [&] { triggerMenu(frame(), CommandId::PrintRecord); },
        [](const QByteArray& now, const QByteArray& made) { return now == made; },
        Lang(StringId::ReportWriteFailed).arg(xml, qt_error_string(ENOSPC)));
}

TEST_F(ReportWindowTest, savePdf_sweptOverEveryFailurePosition)
{
    cHTMLFrame* window = printDayRecord();
    ASSERT_NE(window, nullptr);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("record.pdf"));
    SweepReportSaver(
        pdf,
        [&] {
            PdfFileChooser::pushChoice(pdf);
            Prompts::pushAnswer(Prompts::Answer::Yes);
            triggerMenu(window, CommandId::ReportSavePdf);
        },
        [](const QByteArray& now, const QByteArray& made) {
            return now.size() == made.size() && now.startsWith("%PDF") &&
                   now.trimmed().endsWith("%%EOF");
        },
        Lang(StringId::PdfWriteFailed).arg(pdf, qt_error_string(ENOSPC)),
        {Lang(StringId::PdfReplaceQuestion).arg(pdf)});
}

} // namespace
