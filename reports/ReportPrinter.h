#pragma once

#include <QString>

class QTextDocument;
class QWidget;

// Puts a shown report on paper or into a PDF file, always on A4 with the margins a
// workshop's forms use, on one sheet. Printing renders the page to PDF and hands that file
// to the report's own queue, so a queue that refuses the job is told to the user.
class ReportPrinter {
public:
    // Prints on `queue` without a dialog. False with `error` set when there is no queue or
    // the queue refused the job.
    static bool print(const QTextDocument& page, const QString& title, const QString& queue,
                      QString* error);
    // Opens the print preview set up for `queue`; its own print button prints through Qt's
    // dialog.
    static void preview(const QTextDocument& page, const QString& queue, QWidget* parent);
    // Writes the page as a PDF file, replacing an earlier file whole.
    static bool savePdf(const QTextDocument& page, const QString& title, const QString& path,
                        QString* error);

    static constexpr qreal MarginMm = 12.0;
};
