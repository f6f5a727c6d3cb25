#include "lang/ResourceIds.h"
#include "reports/PrinterSettings.h"
#include "reports/cHTMLFrame.h"
#include "tests/reports/ReportAppFixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <iostream>
#include <utility>

namespace {

// A queue that takes the program's PDF as it is and writes it to its file: device.
const char* const kPdfQueuePpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "VELPDF.PPD"
*Manufacturer: "Velmora tests"
*Product: "(PDF file)"
*ModelName: "PDF file"
*ShortNickName: "PDF file"
*NickName: "PDF file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4: "595 842"
)ppd";

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Polls until `ready` holds; printing is asynchronous in the scheduler.
template <class Ready> bool waitFor(Ready ready)
{
    QDeadlineTimer deadline(60000);
    while (!ready()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

// A private CUPS scheduler for the test binary: its own configuration, spool and log folders
// and its own socket, the client pointed at it through CUPS_SERVER, CUPS_SERVERROOT and HOME
// (where lpoptions keeps the default printer). Queues write their PDF into out/.
class PrivateCups {
public:
    bool start(QString* why)
    {
        const QString cupsd =
            QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
        if (cupsd.isEmpty()) {
            *why = QStringLiteral("cupsd is not installed");
            return false;
        }
        const QString root = m_dir.path();
        for (const char* sub : {"spool", "cache", "state", "log", "tmp", "out", "home"})
            QDir(root).mkdir(QLatin1String(sub));
        // The scheduler's jobs run as lp when it runs as root: they must reach out/.
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
        QFile::setPermissions(outDir(), QFileDevice::Permissions(0x7777) /* everyone may write */);
        const QByteArray r = root.toUtf8();
        writeText(root + QStringLiteral("/cupsd.conf"),
                  "Listen " + r +
                      "/cups.sock\nLogLevel info\nWebInterface No\nBrowsing No\n"
                      "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                      "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                      "  </Limit>\n</Policy>\n");
        writeText(root + QStringLiteral("/cups-files.conf"),
                  "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nCacheDir " + r +
                      "/cache\nStateDir " + r + "/state\nTempDir " + r + "/tmp\nErrorLog " + r +
                      "/log/error_log\nAccessLog " + r + "/log/access_log\nPageLog " + r +
                      "/log/page_log\nFileDevice Yes\n");
        writeText(root + QStringLiteral("/pdf.ppd"), kPdfQueuePpd);
        qputenv("CUPS_SERVER", r + "/cups.sock");
        qputenv("CUPS_SERVERROOT", r);
        qputenv("HOME", r + "/home");

        m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root + "/cupsd.conf",
                              QStringLiteral("-s"), root + "/cups-files.conf"});
        if (!m_cupsd.waitForStarted() ||
            !waitFor([&] { return QFileInfo::exists(root + QStringLiteral("/cups.sock")); })) {
            *why = QStringLiteral("cupsd did not start: ") + log();
            return false;
        }
        return true;
    }

    ~PrivateCups()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            m_cupsd.waitForFinished(10000);
        }
    }

    QString addPdfQueue(const QString& name)
    {
        return RunTool(QStringLiteral("lpadmin"),
                       {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                        QStringLiteral("file://") + outDir() + u'/' + name + QStringLiteral(".pdf"),
                        QStringLiteral("-P"), m_dir.filePath(QStringLiteral("pdf.ppd"))});
    }
    QString outDir() const { return m_dir.filePath(QStringLiteral("out")); }
    QString log() const
    {
        QFile file(m_dir.filePath(QStringLiteral("log/error_log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The default printer as `lpstat -d` reports it.
    static QString lpstatDefault()
    {
        const QString out = RunTool(QStringLiteral("lpstat"), {QStringLiteral("-d")}).trimmed();
        return out.contains(u':') ? out.section(u':', -1).trimmed() : QString();
    }

private:
    QTemporaryDir m_dir;
    QProcess m_cupsd;
};

class CupsPrintingTest : public ReportAppFixture {
protected:
    // The scheduler with the user's default "office" and a queue for each report, the
    // record and ticket printers chosen in printer.txt. False when it cannot start.
    bool startCups()
    {
        QString why;
        if (!m_cups.start(&why)) {
            if (qEnvironmentVariableIsSet("CI") ||
                QFileInfo::exists(QStringLiteral("/usr/sbin/cupsd")))
                ADD_FAILURE() << why.toStdString();
            else
                std::cerr << "skipped: " << why.toStdString() << '\n';
            return false;
        }
        for (const QString& queue : {QStringLiteral("office"), QStringLiteral("velmora_record"),
                                     QStringLiteral("velmora_ticket")})
            m_cups.addPdfQueue(queue);
        RunTool(QStringLiteral("lpoptions"), {QStringLiteral("-d"), QStringLiteral("office")});
        EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));
        EXPECT_TRUE(
            (PrinterSettings{QStringLiteral("velmora_record"), QStringLiteral("velmora_ticket")}
                 .save()));
        return true;
    }

    // Prints the shown report with the window's print command and returns the PDF's text
    // and its pictures.
    std::pair<QString, QStringList> printAndRead(const QString& queue)
    {
        triggerMenu(m_app->reportWindow(), CommandId::ReportPrint);
        EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
        const QString pdf = m_cups.outDir() + u'/' + queue + QStringLiteral(".pdf");
        EXPECT_TRUE(waitFor([&] {
            return QFileInfo(pdf).size() > 0 &&
                   RunTool(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue}).isEmpty();
        })) << m_cups.log().toStdString();
        const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        const QStringList pictures = PdfPictures(pdf);
        QFile::remove(pdf);
        return {text, pictures};
    }

    PrivateCups m_cups;
};

TEST_F(CupsPrintingTest, eachReportPrintsOnItsOwnQueueAndTheDefaultNeverChanges)
{
    if (!startCups())
        GTEST_SKIP() << "the private cupsd cannot start";
    const EmptyCurrentFolder elsewhere;
    start();
    selectLevel(TreeLevel::Day);
    triggerMenu(frame(), CommandId::PrintRecord);
    ASSERT_NE(m_app->reportWindow(), nullptr);
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));
    const auto [record, recordPictures] = printAndRead(QStringLiteral("velmora_record"));
    EXPECT_TRUE(record.contains(QStringLiteral("ПРОТОКОЛ КАЛИБРОВКИ ТАХОГРАФА")))
        << record.toStdString();
    EXPECT_TRUE(record.contains(QStringLiteral("WDB9634031L123456")));
    EXPECT_TRUE(record.contains(QStringLiteral("9999999")));
    EXPECT_EQ(recordPictures, QStringList{kLogoPicture}); // the workshop's logo
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));
    triggerMenu(m_app->reportWindow(), CommandId::ReportClose);
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));

    frame()->OnCommand(CommandId::LanguageEnglish);
    triggerMenu(frame(), CommandId::PrintTicket);
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));
    const auto [ticket, ticketPictures] = printAndRead(QStringLiteral("velmora_ticket"));
    EXPECT_TRUE(ticket.contains(QStringLiteral("VEHICLE TICKET"))) << ticket.toStdString();
    EXPECT_TRUE(ticket.contains(QStringLiteral("A123BC")));
    EXPECT_TRUE(ticket.contains(QStringLiteral("3250")));
    EXPECT_EQ(ticketPictures, QStringList{kLogoPicture});
    m_app->reportWindow()->close();
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));

    // LPDEST names the user's default for CUPS; the record still goes to its own queue.
    qputenv("LPDEST", "velmora_ticket");
    const QString lpdestDefault = PrivateCups::lpstatDefault();
    triggerMenu(frame(), CommandId::PrintRecord);
    const auto [withLpdest, pictures] = printAndRead(QStringLiteral("velmora_record"));
    qunsetenv("LPDEST");
    EXPECT_TRUE(withLpdest.contains(QStringLiteral("WDB9634031L123456")));
    EXPECT_EQ(lpdestDefault, QStringLiteral("velmora_ticket"));
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));

    // A default that is an instance of a queue: a ticket with no printer of its own goes to
    // that queue, and the instance stays the default.
    RunTool(QStringLiteral("lpoptions"),
            {QStringLiteral("-p"), QStringLiteral("office/duplex"), QStringLiteral("-o"),
             QStringLiteral("sides=two-sided-long-edge")});
    RunTool(QStringLiteral("lpoptions"), {QStringLiteral("-d"), QStringLiteral("office/duplex")});
    m_app->setPrinterSettings({QStringLiteral("velmora_record"), QString()});
    triggerMenu(frame(), CommandId::PrintTicket);
    const auto [onInstance, instancePictures] = printAndRead(QStringLiteral("office"));
    EXPECT_TRUE(onInstance.contains(QStringLiteral("A123BC")));
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office/duplex"));
}

TEST_F(CupsPrintingTest, endedBySigtermWithAReportOpen_theDefaultStaysTheUsers)
{
    if (!startCups())
        GTEST_SKIP() << "the private cupsd cannot start";
    // The program runs in a forked child, which shows the record and is then ended as a
    // session's end or `kill` ends it.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            start();
            selectLevel(TreeLevel::Day);
            triggerMenu(frame(), CommandId::PrintRecord);
            std::raise(SIGTERM);
        },
        testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(PrivateCups::lpstatDefault(), QStringLiteral("office"));
}

} // namespace
