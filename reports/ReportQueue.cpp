#include "reports/ReportQueue.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Printers.h"

ReportQueue ReportQueue::choose(const QString& chosen)
{
    const Printers::Destinations printers = Printers::destinations();
    if (!chosen.isEmpty() && printers.names.contains(chosen))
        return {chosen, {}};
    ReportQueue queue{printers.defaultName, {}};
    if (!chosen.isEmpty())
        queue.problem =
            Lang(StringId::PrinterGone)
                .arg(chosen, printers.defaultName.isEmpty() ? Lang(StringId::NoPrinterShort)
                                                            : printers.defaultName);
    return queue;
}
