#pragma once

#include <QString>

// The queue a report is printed on: the printer chosen for its kind in printer.txt, else the
// desktop's default printer. The desktop's default is only read, never changed, so nothing
// is left to put back however the program ends.
struct ReportQueue {
    QString name; // empty when there is no printer at all
    // The user's message when the chosen printer no longer exists; empty otherwise.
    QString problem;

    // Asks the scheduler once.
    static ReportQueue choose(const QString& chosen);
};
