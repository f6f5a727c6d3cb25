#include "exchange/cExportDlg.h"

#include "exchange/CalibrationImport.h"
#include "exchange/TransferMessages.h"
#include "exchange/TransferProgressDialog.h"
#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/cTree.h"
#include "platform/BackgroundWork.h"
#include "platform/Drives.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/CalibrationPlace.h"
#include "store/FolderOps.h"
#include "store/LockRefusal.h"
#include "store/WorkshopRegister.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QScreen>

#include <algorithm>

cExportDlg::cExportDlg(const QString& title, QWidget* parent) : QDialog(parent), m_title(title)
{
    DialogTemplate::install(this, DialogId::Transfer);
    m_drives = DialogTemplate::control<QComboBox>(this, 1006);
    if (m_drives) {
        m_drives->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        m_besideDrives = sizeHint().width() - m_drives->sizeHint().width();
    }
    OnInitDialog();
}

void cExportDlg::OnInitDialog()
{
    if (m_drives) {
        m_drives->clear();
        for (const QString& root : Drives::removableRoots()) {
            m_drives->addItem(root, root);
            m_drives->setItemData(m_drives->count() - 1, root, Qt::ToolTipRole);
        }
        if (m_drives->count() > 0)
            m_drives->setCurrentIndex(0);
        FitDriveList();
    }
    setWindowTitle(m_title);
}

void cExportDlg::FitDriveList()
{
    // The end of a mount point is what tells two sticks apart: the list grows to show each
    // whole; only beyond the screen's width does the middle go (the tooltip keeps it all).
    const QScreen* screen = this->screen();
    const int room = (screen ? screen->availableGeometry().width() : 800) - m_besideDrives;
    const int excess = m_drives->sizeHint().width() - room;
    if (excess > 0) {
        const QFontMetrics metrics = m_drives->fontMetrics();
        int widest = 0;
        for (int i = 0; i < m_drives->count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(m_drives->itemText(i)));
        const int width = std::max(widest - excess, room / 4);
        for (int i = 0; i < m_drives->count(); ++i) {
            const QString root = m_drives->itemData(i).toString();
            m_drives->setItemText(i, metrics.elidedText(root, Qt::ElideMiddle, width));
        }
    }
    m_drives->setMinimumWidth(std::min(m_drives->sizeHint().width(), room));
    resize(std::max(width(), m_besideDrives + m_drives->minimumWidth()), height());
}

bool cExportDlg::Choose(const cTree& tree)
{
    // Without a workshop, vehicle or day there is nothing to export and nowhere to import to.
    if (!tree.SelectedNode()) {
        Prompts::warn(parentWidget(), Lang(StringId::NothingSelected));
        return false;
    }
    return ModalRunner::run(*this) == QDialog::Accepted && !m_drive.isEmpty();
}

void cExportDlg::accept()
{
    QString chosen = m_drives ? m_drives->currentData().toString() : QString();
    const QStringList drives = Drives::removableRoots();
    // A stick put in while the list was empty: when it is the only one, it is the one meant.
    if (chosen.isEmpty() && drives.size() == 1) {
        OnInitDialog();
        chosen = drives.first();
    }
    // A drive pulled out while the dialog was open leaves an empty folder of the root file
    // system behind its mount point: nothing may be written there.
    if (chosen.isEmpty() || !drives.contains(chosen)) {
        Prompts::warn(this, Lang(StringId::NoRemovableDrive));
        OnInitDialog();
        return;
    }
    m_drive = chosen;
    QDialog::accept();
}

QString cExportDlg::ExportSelection(const cTree& tree)
{
    m_exchangeFolder = m_drive + kExchangeFolderName;
    const TreeNode node = tree.SelectedNode();
    if (cTree::NodeLevel(node) == TreeLevel::None)
        return {};
    const QList<CalibrationPlace> days = tree.DaysUnder(node);

    // A whole workshop goes out under its lock, so that no import of another workstation
    // changes it half way.
    std::optional<FolderLock> lock;
    if (cTree::NodeLevel(node) == TreeLevel::Workshop &&
        !TakeWorkshopLock(tree.GetNodeText(node), lock))
        return {};
    TransferProgressDialog progress(m_title, Lang(StringId::ExportProgress).arg(m_exchangeFolder),
                                    parentWidget());
    TransferReport report;
    progress.Run([&](const TransferProgress& step) {
        report = CalibrationExport(m_exchangeFolder).run(days, step);
        // Giving the lock up removes its file: disk work too.
        lock.reset();
    });
    ReportProblems(report, TransferMessages::Direction::Export);
    return TransferMessages::ExportDone(report, m_exchangeFolder);
}

QString cExportDlg::ImportToWorkshop(cTree& tree)
{
    m_exchangeFolder = m_drive + kExchangeFolderName;
    const QString workshopFolder = tree.PlaceOf(tree.SelectedNode()).workshopFolder;
    if (workshopFolder.isEmpty()) {
        Prompts::warn(parentWidget(), Lang(StringId::NothingSelected));
        return {};
    }

    std::optional<FolderLock> lock;
    if (!TakeWorkshopLock(workshopFolder, lock))
        return {};
    const QString destination = ExchangeFolderOf(workshopFolder);
    TransferProgressDialog progress(m_title, Lang(StringId::ImportProgress).arg(m_exchangeFolder),
                                    parentWidget());
    const auto replaceOurs = [&progress](const QStringList& ours) {
        return progress.Ask([&ours](QWidget* over) {
            return Prompts::askYesNo(
                       over, Lang(StringId::TransferReplaceDetails).arg(ours.join(u'\n'))) ==
                   Prompts::Answer::Yes;
        });
    };
    TransferReport report;
    progress.Run([&](const TransferProgress& step) {
        report = CalibrationImport(m_exchangeFolder, destination).run(step, replaceOurs);
        // Giving the lock up removes its file: disk work too.
        lock.reset();
    });
    tree.RefreshWorkshop(workshopFolder);
    ReportProblems(report, TransferMessages::Direction::Import, destination);
    return TransferMessages::ImportDone(report, m_exchangeFolder);
}

bool cExportDlg::TakeWorkshopLock(const QString& workshopFolder, std::optional<FolderLock>& lock)
{
    // Made, taken and, when refused, given up again on the worker: a lock file is disk work.
    FolderLock::Result result = FolderLock::Result::Failed;
    QString holder;
    QString lockPath;
    BackgroundWork::Run(parentWidget(), Lang(StringId::WaitingForFolder), [&] {
        lock.emplace(FolderLock::WorkshopLockPath(workshopFolder));
        result = lock->Acquire();
        if (result != FolderLock::Result::Locked) {
            holder = lock->Holder();
            lockPath = lock->Path();
            lock.reset();
        }
    });
    if (result == FolderLock::Result::Locked)
        return true;
    Prompts::warn(parentWidget(), LockRefusal::Text(result, LockRefusal::Scope::Workshop,
                                                    workshopFolder, holder, lockPath));
    return false;
}

void cExportDlg::ReportProblems(const TransferReport& report, TransferMessages::Direction direction,
                                const QString& workshopFolder)
{
    const TransferMessages::Message problems =
        TransferMessages::Problems(report, direction, m_exchangeFolder, workshopFolder);
    if (!problems.text.isEmpty())
        Prompts::warn(parentWidget(), problems.text, problems.details);
}
