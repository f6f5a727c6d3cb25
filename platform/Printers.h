#pragma once

#include <QString>
#include <QStringList>

// The desktop's printers, through CUPS: the list of queues, the user's default queue and
// printing a finished PDF file on a queue. Setting the default writes the user's lpoptions,
// as `lpoptions -d` does. Tests replace the backend with their own.
class Printers {
public:
    class Backend {
    public:
        virtual ~Backend() = default;
        virtual QStringList list() = 0;
        // Empty when there is no default queue.
        virtual QString defaultPrinter() = 0;
        // An empty name leaves no queue the default.
        virtual bool setDefault(const QString& name) = 0;
        // The job id, or 0 with `error` set when the queue refused the file.
        virtual int printFile(const QString& printer, const QString& pdfPath, const QString& title,
                              QString* error) = 0;
    };

    static QStringList list();
    static QString defaultPrinter();
    static bool setDefault(const QString& name);
    static int printFile(const QString& printer, const QString& pdfPath, const QString& title,
                         QString* error);

    // Null puts the CUPS backend back. The caller keeps ownership.
    static void setBackend(Backend* backend);
};
