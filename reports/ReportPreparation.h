#pragma once

#include "params/Calibration.h"

#include <QString>

#include <optional>

enum class ReportKind { Record, Ticket };

// A report written for a calibration, ready for the report window.
struct PreparedReport {
    QString xmlPath;
    QString pdfName; // "<vehicle>_<day>_record.pdf" in the language in use, the day left out
                     // when there is none
    QString vehicle; // named in the report window's title
};

// The vehicle and calibration day a report is for.
struct ReportSubject {
    QString vehicle;
    QString day;
};

// The stylesheet file name of a report kind.
QString ReportStylesheetName(ReportKind kind);

// Writes the calibration's records, with the subject's vehicle and day, as the vehicle's XML
// calibration record naming the kind's stylesheet. Nothing when the subject has no vehicle
// (`failure` stays empty then), or when the stylesheet is missing or the file cannot be
// written (`failure` says why, in the loaded language). Needs no widgets.
std::optional<PreparedReport> PrepareReportXml(ReportKind kind, const Calibration& calibration,
                                               const ReportSubject& subject, QString* failure);
