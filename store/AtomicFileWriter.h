#pragma once

#include <QByteArray>
#include <QString>

// The one writer for every file the program replaces (record files, service.txt,
// printer.txt). It writes a temporary file in the same folder, flushes it to disk, renames
// it over the old name and flushes the folder, so an interrupted or failed write leaves the
// previous file whole and is reported as a failure.
class AtomicFileWriter {
public:
    static bool replace(const QString& path, const QByteArray& content);

    // Test seam: the n-th low-level write from now on fails (1 = the next one); 0 turns
    // the fault off. Tests use it to prove that a failed write leaves the old file intact.
    static void failNthWrite(int n);
};
