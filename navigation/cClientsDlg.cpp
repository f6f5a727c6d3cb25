#include "navigation/cClientsDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/ResourceIds.h"
#include "navigation/CDirDialog.h"
#include "navigation/TreeNodes.h"
#include "navigation/WorkshopRegistration.h"
#include "navigation/cCreateClientDlg.h"
#include "navigation/cTree.h"
#include "platform/ModalRunner.h"
#include "store/RegisterSaver.h"
#include "store/WorkshopDetails.h"
#include "store/WorkshopRegister.h"

#include <QListWidget>
#include <QPushButton>

cClientsDlg::cClientsDlg(WorkshopRegister& reg, cTree& tree, QWidget* parent)
    : QDialog(parent), m_reg(reg), m_tree(tree)
{
    DialogTemplate::install(this, DialogId::WorkshopList);
    m_list = DialogTemplate::control<QListWidget>(this, 1000);
    const std::pair<int, void (cClientsDlg::*)()> buttons[] = {
        {1001, &cClientsDlg::OnAddFolder},
        {1002, &cClientsDlg::OnCreateFolder},
        {1003, &cClientsDlg::OnRemove},
        {1014, &cClientsDlg::OnDetails},
    };
    for (const auto& [id, handler] : buttons) {
        if (auto* button = DialogTemplate::control<QPushButton>(this, id))
            connect(button, &QPushButton::clicked, this, handler);
    }
    if (m_list)
        connect(m_list, &QListWidget::itemSelectionChanged, this, &cClientsDlg::UpdateRowButtons);
    FillList();
}

void cClientsDlg::UpdateRowButtons()
{
    // The buttons that act on one workshop wait for a row to act on.
    const bool hasRow = SelectedIndex() >= 0;
    for (const int id : {1003, 1014}) {
        if (auto* button = DialogTemplate::control<QPushButton>(this, id))
            button->setEnabled(hasRow);
    }
}

void cClientsDlg::FillList()
{
    if (!m_list)
        return;
    m_list->clear();
    const auto& entries = m_reg.entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        auto* row = new QListWidgetItem(entries[i].folderPath, m_list);
        row->setData(Qt::UserRole, i);
    }
    UpdateRowButtons();
}

int cClientsDlg::SelectedIndex() const
{
    if (!m_list || !m_list->currentItem() || !m_list->currentItem()->isSelected())
        return -1;
    bool ok = false;
    const int index = m_list->currentItem()->data(Qt::UserRole).toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(m_reg.entries().size()))
        return -1;
    return index;
}

void cClientsDlg::RegisterWithRow(const QString& path, const QStringList& madeFolders)
{
    if (!RegisterWorkshopFolder(path, m_reg, m_tree, this, madeFolders) || !m_list)
        return;
    auto* row = new QListWidgetItem(path, m_list);
    row->setData(Qt::UserRole, static_cast<int>(m_reg.entries().size()) - 1);
    UpdateRowButtons();
}

void cClientsDlg::OnAddFolder()
{
    CDirDialog chooser;
    if (chooser.DoBrowse(this) != 1)
        return;
    RegisterWithRow(chooser.ChosenPath());
}

void cClientsDlg::OnCreateFolder()
{
    cCreateClientDlg dlg(this);
    if (ModalRunner::run(dlg) != QDialog::Accepted)
        return;
    RegisterWithRow(dlg.WorkshopPath(), dlg.MadeFolders());
}

void cClientsDlg::OnRemove()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    const TreeNode node = m_reg.entries()[index].node;
    m_reg.entries().erase(m_reg.entries().begin() + index);
    FillList();
    m_tree.DropWorkshopNode(node);
    SaveRegisterOrWarn(m_reg, this);
}

void cClientsDlg::OnDetails()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    WorkshopEntry& entry = m_reg.entries()[index];
    EditWorkshopDetails(entry, this);
    // The tree shows the workshop by the name just edited.
    ShowWorkshopName(entry);
}
