#include "store/cServiceDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/ResourceIds.h"
#include "store/WorkshopRecord.h"

#include <QLineEdit>
#include <QShowEvent>

namespace {
constexpr int kNameId = 1010;
constexpr int kAddressId = 1011;
constexpr int kPhoneId = 1012;
constexpr int kIndexId = 1013;

QLineEdit* boundEdit(QDialog* dialog, int controlId, WorkshopRecord::Field field)
{
    auto* edit = DialogTemplate::control<QLineEdit>(dialog, controlId);
    if (edit)
        edit->setMaxLength(WorkshopRecord::capacity(field));
    return edit;
}

void setText(QLineEdit* edit, const QString& text)
{
    if (edit)
        edit->setText(text);
}

QString textOf(const QLineEdit* edit, const QString& fallback)
{
    return edit ? edit->text() : fallback;
}
} // namespace

cServiceDlg::cServiceDlg(QWidget* parent) : QDialog(parent)
{
    DialogTemplate::install(this, DialogId::WorkshopDetails);
    m_name = boundEdit(this, kNameId, WorkshopRecord::Field::Name);
    m_address = boundEdit(this, kAddressId, WorkshopRecord::Field::Address);
    m_phone = boundEdit(this, kPhoneId, WorkshopRecord::Field::Phone);
    m_index = boundEdit(this, kIndexId, WorkshopRecord::Field::Index);
}

void cServiceDlg::showEvent(QShowEvent* event)
{
    // Only the program's own show fills the edits; the desktop re-showing a minimised
    // dialog must not undo what the user typed.
    if (!event->spontaneous())
        putValues();
    QDialog::showEvent(event);
}

void cServiceDlg::putValues()
{
    setText(m_name, name);
    setText(m_address, address);
    setText(m_phone, phone);
    setText(m_index, index);
}

void cServiceDlg::accept()
{
    name = textOf(m_name, name);
    address = textOf(m_address, address);
    phone = textOf(m_phone, phone);
    index = textOf(m_index, index);
    QDialog::accept();
}
