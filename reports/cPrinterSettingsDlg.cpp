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

void fill(QComboBox* list, const QStringList& printers, const QString& stored)
{
    list->addItems(printers);
    // A stored printer that has gone stays visible, so OK does not drop it unasked.
    if (!stored.isEmpty() && !printers.contains(stored))
        list->insertItem(0, stored);
    if (!stored.isEmpty())
        list->setCurrentText(stored);
    else if (list->count() > 0)
        list->setCurrentIndex(0);
    list->setPlaceholderText(Lang(StringId::NoPrintersFound));
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
    const QStringList printers = Printers::list();
    fill(m_recordList, printers, m_settings.recordPrinter);
    fill(m_ticketList, printers, m_settings.ticketPrinter);
}

void cPrinterSettingsDlg::accept()
{
    PrinterSettings chosen;
    if (m_recordList)
        chosen.recordPrinter = m_recordList->currentText().left(PrinterSettings::MaxNameLength);
    if (m_ticketList)
        chosen.ticketPrinter = m_ticketList->currentText().left(PrinterSettings::MaxNameLength);
    const QString path = PrinterSettings::filePath();
    if (!chosen.save(path)) {
        Prompts::warn(this, Lang(StringId::PrinterSettingsWriteFailed).arg(path));
        return;
    }
    m_settings = chosen;
    QDialog::accept();
}
