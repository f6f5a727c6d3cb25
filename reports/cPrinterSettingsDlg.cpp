#include "reports/cPrinterSettingsDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "platform/Printers.h"
#include "platform/Prompts.h"

#include <QComboBox>

namespace {

constexpr int kRecordListId = 1007;
constexpr int kTicketListId = 1008;

// Every entry carries the printer's own name as its data; the text may say more.
void fill(QComboBox* list, const QStringList& printers, const QString& stored)
{
    for (const QString& printer : printers)
        list->addItem(printer, printer);
    // A stored printer that has gone stays, marked as gone, so OK does not drop it unasked.
    if (!stored.isEmpty() && !printers.contains(stored))
        list->insertItem(0, Lang(StringId::PrinterNotInstalled).arg(stored), stored);
    const int storedIndex = stored.isEmpty() ? -1 : list->findData(stored);
    if (storedIndex >= 0)
        list->setCurrentIndex(storedIndex);
    else if (list->count() > 0)
        list->setCurrentIndex(0);
    list->setPlaceholderText(Lang(StringId::NoPrintersFound));
}

QString chosenName(const QComboBox* list)
{
    const QVariant name = list->currentData();
    return (name.isValid() ? name.toString() : list->currentText())
        .left(PrinterSettings::MaxNameLength);
}

} // namespace

cPrinterSettingsDlg::cPrinterSettingsDlg(QWidget* parent) : QDialog(parent)
{
    DialogTemplate::install(this, DialogId::PrinterSettings);
    m_recordList = DialogTemplate::control<QComboBox>(this, kRecordListId);
    m_ticketList = DialogTemplate::control<QComboBox>(this, kTicketListId);
    OnInitDialog();
}

void cPrinterSettingsDlg::OnInitDialog()
{
    m_settings = PrinterSettings::load();
    if (!m_recordList || !m_ticketList)
        return;
    const QStringList printers = Printers::destinations().names;
    fill(m_recordList, printers, m_settings.recordPrinter);
    fill(m_ticketList, printers, m_settings.ticketPrinter);
}

void cPrinterSettingsDlg::accept()
{
    PrinterSettings chosen;
    if (m_recordList)
        chosen.recordPrinter = chosenName(m_recordList);
    if (m_ticketList)
        chosen.ticketPrinter = chosenName(m_ticketList);
    const QString path = PrinterSettings::filePath();
    if (!chosen.save(path)) {
        Prompts::warn(this, Lang(StringId::PrinterSettingsWriteFailed).arg(path));
        return;
    }
    m_settings = chosen;
    QDialog::accept();
}
