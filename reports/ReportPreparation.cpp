#include "reports/ReportPreparation.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/DataFiles.h"
#include "reports/CalibrationXml.h"

#include <QStringList>

QString ReportStylesheetName(ReportKind kind)
{
    return kind == ReportKind::Record ? QStringLiteral("printer_view.xslt")
                                      : QStringLiteral("ticket_view.xslt");
}

std::optional<PreparedReport> PrepareReportXml(ReportKind kind, const Calibration& calibration,
                                               const ReportSubject& subject, QString* failure)
{
    if (subject.vehicle.isEmpty())
        return std::nullopt;
    CalibrationDocument doc;
    doc.param = calibration.param;
    doc.gsm = calibration.gsm;
    doc.owner = calibration.owner;
    doc.workshop = calibration.workshop;
    doc.vehicle = subject.vehicle;
    doc.day = subject.day;

    doc.stylesheet = DataFiles::locate(ReportStylesheetName(kind));
    if (doc.stylesheet.isEmpty()) {
        if (failure)
            *failure = Lang(StringId::ReportStylesheetMissing)
                           .arg(DataFiles::folders().join(QStringLiteral(", ")) +
                                QStringLiteral(": ") + ReportStylesheetName(kind));
        return std::nullopt;
    }

    PreparedReport report;
    QString why;
    if (!WriteCalibrationXml(doc, DataFiles::locate(QStringLiteral("Ondrix.ico")), &report.xmlPath,
                             &why)) {
        if (failure)
            *failure = Lang(StringId::ReportWriteFailed).arg(report.xmlPath, why);
        return std::nullopt;
    }
    QStringList parts{subject.vehicle};
    if (!subject.day.isEmpty())
        parts.append(subject.day);
    const bool record = kind == ReportKind::Record;
    parts.append(Lang(record ? StringId::PdfNameRecord : StringId::PdfNameTicket));
    report.pdfName = parts.join(u'_') + QStringLiteral(".pdf");
    report.vehicle = subject.vehicle;
    return report;
}
