#include "navigation/cNewCarDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/FolderNameRules.h"
#include "navigation/NumberMatch.h"
#include "navigation/cTree.h"
#include "params/FieldText.h"
#include "params/GsmRecord.h"
#include "params/ParamRecord.h"
#include "platform/BackgroundWork.h"
#include "platform/Prompts.h"
#include "store/AtomicFileGroup.h"
#include "store/AtomicFileWriter.h"
#include "store/CalibrationPlace.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/LockRefusal.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QScreen>

#include <algorithm>

namespace {

// The vehicle that `number` names: the one of exactly that name first, else the first whose
// number differs only in case, blanks, dashes or Cyrillic/Latin look-alike letters.
VehicleEntry* FindSameVehicle(WorkshopRegister& reg, const QString& number)
{
    if (VehicleEntry* exact = reg.findVehicleByName(number))
        return exact;
    const QString key = NormalizedNumber(number);
    for (WorkshopEntry& workshop : reg.entries()) {
        for (VehicleEntry& vehicle : workshop.vehicles) {
            if (NormalizedNumber(vehicle.name) == key)
                return &vehicle;
        }
    }
    return nullptr;
}

} // namespace

cNewCarDlg::cNewCarDlg(WorkshopRegister& reg, cTree& tree, QWidget* parent)
    : QDialog(parent), m_reg(reg), m_tree(tree)
{
    DialogTemplate::install(this, DialogId::NewVehicle);
    m_workshops = DialogTemplate::control<QComboBox>(this, 1015);
    m_number = DialogTemplate::control<QLineEdit>(this, 1016);
    if (!m_workshops)
        return;
    const auto& entries = m_reg.entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        m_workshops->addItem(entries[i].folderPath, i);
    // The workshop of the selection, the first one when nothing is selected.
    const WorkshopEntry* selected = m_tree.WorkshopEntryOf(m_tree.SelectedNode());
    const int row =
        selected ? m_workshops->findData(static_cast<int>(selected - entries.data())) : -1;
    if (m_workshops->count() > 0)
        m_workshops->setCurrentIndex(std::max(row, 0));
    // Wide enough for the whole folder path, so the user sees which workshop is chosen; the
    // dialog grows with it, within the screen.
    m_workshops->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    int wanted = m_workshops->sizeHint().width();
    if (const QScreen* shown = screen())
        wanted = std::min(wanted, shown->availableSize().width() * 2 / 3);
    m_workshops->setMinimumWidth(std::max(wanted, m_workshops->minimumWidth()));
    // The workshop is already chosen; what the user has to type is the number.
    if (m_number)
        m_number->setFocus();
}

void cNewCarDlg::accept()
{
    if (!m_workshops || m_workshops->currentIndex() < 0)
        return;
    bool ok = false;
    const int index = m_workshops->currentData().toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(m_reg.entries().size()))
        return;
    const QString workshopFolder = m_reg.entries()[index].folderPath;
    const QString number = m_number ? m_number->text() : QString();

    const RegistrationNumberFault fault = CheckRegistrationNumber(number);
    if (fault == RegistrationNumberFault::Missing) {
        // The save's own message speaks of saving; here the user is creating a vehicle.
        Prompts::warn(this, Lang(StringId::EnterRegistrationNumber));
        return;
    }
    if (fault != RegistrationNumberFault::None) {
        WarnRegistrationNumber(fault, number, this);
        return;
    }

    // Numbers identify vehicles across the whole register: an existing one is selected,
    // whichever workshop holds it, also when typed in the other script or case.
    if (VehicleEntry* existing = FindSameVehicle(m_reg, number)) {
        if (existing->node)
            m_tree.SelectNode(existing->node);
        QDialog::accept();
        return;
    }
    if (!CreateVehicle(workshopFolder, number))
        return;
    QDialog::accept();
}

bool cNewCarDlg::CreateVehicle(const QString& workshopFolder, const QString& number)
{
    const QString vehicleFolder = VehicleFolderOf(workshopFolder, number);
    const QString dayFolder = JoinPath(vehicleFolder, TodayStamp());
    ParamRecord param;
    // The number passed the rules above, so some code page holds it.
    EncodeRegistrationNumber(number, param.bytes.data() + ParamRecord::Layout::RegNumberOffset,
                             ParamRecord::Layout::RegNumberWidth,
                             param.bytes[ParamRecord::Layout::CodePageOffset]);
    const GsmRecord gsm;

    // The folders and first records are made under the vehicle's lock, on a worker: another
    // workstation may be making the same vehicle, and the folder may be on a slow share.
    const QString lockPath = FolderLock::VehicleLockPath(vehicleFolder);
    FolderLock::Result locked = FolderLock::Result::Failed;
    QString holder;
    bool exchangeThere = false;
    bool vehicleMade = false;
    bool vehicleThere = false;
    // Texts are made on the interface thread: the worker only notes what failed.
    bool dayNotMade = false;
    QString fileNotWritten;
    bool dayStays = false;
    BackgroundWork::Run(this, Lang(StringId::WaitingForNewVehicle).arg(number), [&] {
        // The lock lies in the exchange folder: without it no vehicle can be made.
        exchangeThere = QFileInfo(ExchangeFolderOf(workshopFolder)).isDir();
        if (!exchangeThere)
            return;
        // Taken and given up (its file removed) here, on the worker.
        FolderLock lock(lockPath);
        locked = lock.Acquire();
        holder = lock.Holder();
        if (locked != FolderLock::Result::Locked)
            return;
        vehicleThere = EnsureFolder(vehicleFolder, &vehicleMade);
        if (!vehicleMade)
            return;
        if (!EnsureFolder(dayFolder)) {
            dayNotMade = true;
            return;
        }
        // The first two records go together: a vehicle never starts with one of them alone.
        AtomicFileGroup files;
        files.add(JoinPath(dayFolder, kParamFileName), RecordFileContent(param.bytes));
        files.add(JoinPath(dayFolder, kGsmFileName), RecordFileContent(gsm.bytes));
        const AtomicFileGroup::Outcome outcome = files.commit();
        if (outcome.ok)
            return;
        // Nothing was there before, so what was renamed goes again, and the day with it; a
        // day that stays (with a record that could not be removed) is named.
        fileNotWritten = files.path(outcome.failedIndex);
        for (qsizetype i = 0; i < outcome.renamed; ++i)
            AtomicFileWriter::remove(files.path(i));
        dayStays = !AtomicFileWriter::remove(dayFolder);
    });
    if (exchangeThere && locked != FolderLock::Result::Locked) {
        Prompts::warn(
            this, LockRefusal::Text(locked, LockRefusal::Scope::Vehicle, number, holder, lockPath));
        return false;
    }
    if (!vehicleThere) {
        Prompts::warn(this, Lang(StringId::FolderCreateFailed).arg(vehicleFolder));
        return false;
    }
    if (dayNotMade)
        Prompts::warn(this, Lang(StringId::FolderCreateFailed).arg(dayFolder));
    if (!fileNotWritten.isEmpty())
        Prompts::warn(
            this,
            Lang(StringId::FileWriteFailed).arg(fileNotWritten) +
                (dayStays ? u'\n' + Lang(StringId::FolderDeleteFailed).arg(dayFolder) : QString()));
    // The vehicle folder exists now, so the tree shows it whatever else failed. One made
    // outside the program since the tree was last built is selected like any vehicle that
    // exists already.
    m_tree.RefreshVehicle(workshopFolder, number);
    if (!vehicleMade) {
        if (VehicleEntry* found = m_reg.findVehicleByName(number); found && found->node)
            m_tree.SelectNode(found->node);
    }
    return true;
}
