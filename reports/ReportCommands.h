#pragma once

#include <QString>

#include <optional>

class QWidget;
class cTDGrid;
class cTree;

enum class ReportKind { Record, Ticket };

// A report written for the tree's selection, ready for the report window.
struct PreparedReport {
    QString xmlPath;
    QString pdfName; // "<vehicle>_<day>_record.pdf" in the language in use, the day left out
                     // when there is none
    QString vehicle; // named in the report window's title
};

// The vehicle and calibration day a report is for, from the tree's selection: a vehicle node
// gives its name and its latest day (the one its selection shows), a day node its parent's
// name and its own; a workshop node or no
// selection gives "unknown" for the record and nothing for the ticket.
struct ReportSubject {
    QString vehicle;
    QString day;
};
ReportSubject ReportSubjectOf(ReportKind kind, const cTree& tree);

// The stylesheet file name of a report kind.
QString ReportStylesheetName(ReportKind kind);

// The first steps of both report commands: the grid's values are stored into the records,
// the records copied and written, with the selection's vehicle and day, as the vehicle's XML
// calibration record naming the kind's stylesheet. Nothing when there is no vehicle for the
// ticket; nothing, after telling the user, when the stylesheet is missing or the file cannot
// be written.
std::optional<PreparedReport> PrepareReport(ReportKind kind, const cTree& tree, cTDGrid& grid,
                                            QWidget* window);
