#include "platform/Printers.h"

#include <cups/cups.h>

namespace {

class CupsBackend : public Printers::Backend {
public:
    Printers::Destinations destinations() override
    {
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        Printers::Destinations found;
        for (int i = 0; i < count; ++i) {
            const QString name = QString::fromUtf8(dests[i].name);
            // Instances ("queue/instance") are option sets of one queue, not printers.
            if (!dests[i].instance)
                found.names.append(name);
            if (dests[i].is_default)
                found.defaultName = name;
        }
        cupsFreeDests(count, dests);
        return found;
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

Printers::Destinations Printers::destinations()
{
    return g_backend->destinations();
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
