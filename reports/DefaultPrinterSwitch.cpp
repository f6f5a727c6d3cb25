#include "reports/DefaultPrinterSwitch.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Printers.h"

void DefaultPrinterSwitch::saveStartupDefault()
{
    m_saved = Printers::defaultPrinter();
    m_switched = false;
}

QString DefaultPrinterSwitch::switchTo(const QString& printer)
{
    if (printer.isEmpty())
        return {};
    if (!Printers::list().contains(printer))
        return Lang(StringId::PrinterGone).arg(printer, Printers::defaultPrinter());
    if (!Printers::setDefault(printer))
        return Lang(StringId::DefaultPrinterNotSet).arg(printer);
    m_switched = true;
    return {};
}

void DefaultPrinterSwitch::restore()
{
    if (!m_switched)
        return;
    Printers::setDefault(m_saved);
    m_switched = false;
}
