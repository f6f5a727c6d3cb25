#include "platform/Printers.h"

#include <cups/cups.h>

namespace {

class CupsBackend : public Printers::Backend {
public:
    QStringList list() override
    {
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        QStringList names;
        for (int i = 0; i < count; ++i) {
            // Instances ("queue/instance") are option sets of one queue, not printers.
            if (!dests[i].instance)
                names.append(QString::fromUtf8(dests[i].name));
        }
        cupsFreeDests(count, dests);
        return names;
    }

    QString defaultPrinter() override
    {
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        QString name;
        for (int i = 0; i < count; ++i) {
            if (dests[i].is_default && !dests[i].instance)
                name = QString::fromUtf8(dests[i].name);
        }
        cupsFreeDests(count, dests);
        return name;
    }

    bool setDefault(const QString& name) override
    {
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        const QByteArray wanted = name.toUtf8();
        bool found = name.isEmpty(); // an empty name clears the default
        for (int i = 0; i < count; ++i) {
            const bool match = !dests[i].instance && wanted == dests[i].name;
            dests[i].is_default = match;
            found = found || match;
        }
        const bool saved = found && cupsSetDests2(CUPS_HTTP_DEFAULT, count, dests) == 0;
        cupsFreeDests(count, dests);
        return saved;
    }

    int printFile(const QString& printer, const QString& pdfPath, const QString& title,
                  QString* error) override
    {
        const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(),
                                       pdfPath.toLocal8Bit().constData(),
                                       title.toUtf8().constData(), 0, nullptr);
        if (job == 0 && error)
            *error = QString::fromUtf8(cupsLastErrorString());
        return job;
    }
};

CupsBackend g_cups;
Printers::Backend* g_backend = &g_cups;

} // namespace

QStringList Printers::list()
{
    return g_backend->list();
}

QString Printers::defaultPrinter()
{
    return g_backend->defaultPrinter();
}

bool Printers::setDefault(const QString& name)
{
    return g_backend->setDefault(name);
}

int Printers::printFile(const QString& printer, const QString& pdfPath, const QString& title,
                        QString* error)
{
    return g_backend->printFile(printer, pdfPath, title, error);
}

void Printers::setBackend(Backend* backend)
{
    g_backend = backend ? backend : &g_cups;
}
