#pragma once

#include "exchange/CalibrationExport.h"
#include "exchange/TransferMessages.h"
#include "store/FolderLock.h"

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;
class WorkshopRegister;
class cTree;
struct TransferReport;

// The drive chooser of export and import (template 313): a list of the removable drives,
// the first one chosen. The same dialog object then carries out the transfer on the drive
// the user picked.
class cExportDlg : public QDialog {
    Q_OBJECT
public:
    cExportDlg(const QString& title, QWidget* parent = nullptr);

    // Shows the dialog when the tree has a selection to work on; otherwise tells the user
    // to select something. True when the user left it with OK and a drive.
    bool Choose(const cTree& tree);

    // OK. With no drive in the list it says so, looks for drives again and stays open.
    void accept() override;

    // The transfers. Each shows its progress, tells the user of every problem in one message
    // at the end, and returns the status bar's summary (empty when there is nothing to
    // show there). The import reads the workshop's branch again afterwards, whatever it achieved.
    QString ExportSelection(const cTree& tree);
    QString ImportToWorkshop(cTree& tree);

    QString DriveText() const { return m_drive; }
    QString ExchangeFolderText() const { return m_exchangeFolder; }

private:
    void OnInitDialog();
    void FitDriveList();
    // Takes the workshop's lock into `lock` on a worker, waiting there; false, after telling
    // the user, when it cannot be had. The transfer's worker gives it up again, so that no
    // lock file is removed on the interface thread.
    bool TakeWorkshopLock(const QString& workshopFolder, std::optional<FolderLock>& lock);
    void ReportProblems(const TransferReport& report, TransferMessages::Direction direction,
                        const QString& workshopFolder = {});

    QString m_title;
    QString m_drive;
    QString m_exchangeFolder;
    QComboBox* m_drives = nullptr;
    int m_besideDrives = 0; // the dialog's width outside the drive list
};
