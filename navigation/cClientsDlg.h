#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class WorkshopRegister;
class cTree;

// The workshop list dialog (template 311): shows the registered workshop folders, one row per
// register entry carrying the entry's index, and lets the user register an existing folder,
// create a new workshop, unregister one and edit its details. Every change is saved and shown
// in the tree as soon as it is made; closing the dialog undoes nothing.
class cClientsDlg : public QDialog {
    Q_OBJECT
public:
    cClientsDlg(WorkshopRegister& reg, cTree& tree, QWidget* parent = nullptr);

    // Refills the list from the register; row i carries register index i.
    void FillList();

    void OnAddFolder();    // button 1001
    void OnCreateFolder(); // button 1002
    void OnRemove();       // button 1003: unregisters, never deletes on disk
    void OnDetails();      // button 1014

private:
    // Register index of the selected row, or -1 when no valid row is selected.
    int SelectedIndex() const;
    void UpdateRowButtons();
    // Registers the folder and adds its row; `madeFolders` go again when it is not registered.
    void RegisterWithRow(const QString& path, const QStringList& madeFolders = {});

    WorkshopRegister& m_reg;
    cTree& m_tree;
    QListWidget* m_list = nullptr;
};
