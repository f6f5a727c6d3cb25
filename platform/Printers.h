#pragma once

#include <QString>
#include <QStringList>

// The desktop's printers, through CUPS: the queues with the user's default among them, and
// printing a finished PDF file on a named queue. The program only reads the user's printer
// settings; it never changes them. Tests replace the backend with their own.
class Printers {
public:
    struct Destinations {
        QStringList names;
        // The queue of the user's default destination (also when that default is an
        // instance such as "laser/duplex"); empty when there is none.
        QString defaultName;
    };

    class Backend {
    public:
        virtual ~Backend() = default;
        virtual Destinations destinations() = 0;
        // The job id, or 0 with `error` set when the queue refused the file.
        virtual int printFile(const QString& printer, const QString& pdfPath, const QString& title,
                              QString* error) = 0;
    };

    // One query of the scheduler: callers keep the answer rather than asking again.
    static Destinations destinations();
    static int printFile(const QString& printer, const QString& pdfPath, const QString& title,
                         QString* error);

    // Null puts the CUPS backend back. The caller keeps ownership.
    static void setBackend(Backend* backend);
};
