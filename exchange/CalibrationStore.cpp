#include "exchange/CalibrationStore.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/AtomicFileGroup.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/LockRefusal.h"
#include "store/MadeFolders.h"
#include "store/RecordFile.h"

#include "store/WorkshopRegister.h"

#include <QFileInfo>
#include <QStringList>

StoreOutcome StoreCalibration(const Calibration& calibration)
{
    const CalibrationPlace& place = calibration.place;
    // The lock lies in the exchange folder: without it there is nothing to save into.
    if (!QFileInfo(ExchangeFolderOf(place.workshopFolder)).isDir())
        return {false, Lang(StringId::FolderCreateFailed).arg(place.vehicleFolder())};
    FolderLock lock(FolderLock::VehicleLockPath(place.vehicleFolder()));
    if (const FolderLock::Result locked = lock.Acquire(); locked != FolderLock::Result::Locked)
        return {false, LockRefusal::Text(lock, locked, LockRefusal::Scope::Vehicle, place.vehicle)};

    // Folders this save makes are taken away again when the save fails, so a failed save
    // leaves no empty day in the tree.
    QStringList madeFolders;
    for (const QString& folder : {place.vehicleFolder(), place.dayFolder()}) {
        bool made = false;
        if (!EnsureFolder(folder, &made))
            return {false, Lang(StringId::FolderCreateFailed).arg(folder) +
                               RemoveMadeFolders(madeFolders)};
        if (made)
            madeFolders.prepend(folder);
    }

    // The three files of one calibration are replaced together, never a new one beside old
    // ones.
    AtomicFileGroup files;
    files.add(place.paramFile(), RecordFileContent(calibration.param.bytes));
    files.add(place.gsmFile(), RecordFileContent(calibration.gsm.bytes));
    files.add(place.ownerFile(), RecordFileContent(calibration.owner.bytes));
    const AtomicFileGroup::Outcome outcome = files.commit();
    if (outcome.ok)
        return {true, {}};
    if (outcome.renamed == 0)
        return {false, Lang(StringId::FileWriteFailed).arg(files.path(outcome.failedIndex)) +
                           RemoveMadeFolders(madeFolders)};
    QStringList replaced;
    QStringList old;
    for (qsizetype i = 0; i < files.size(); ++i)
        (i < outcome.renamed ? replaced : old) << files.path(i);
    return {false, Lang(StringId::SavePartlyWritten)
                       .arg(replaced.join(QStringLiteral(", ")), old.join(QStringLiteral(", ")))};
}
