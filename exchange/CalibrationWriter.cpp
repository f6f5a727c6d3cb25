#include "exchange/CalibrationWriter.h"

#include "store/AtomicFileGroup.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/WorkshopRegister.h"

#include <QFileInfo>

namespace {

// Removes the folders this save made, deepest first; those that stay are returned.
QStringList RemoveMadeFolders(const QStringList& folders)
{
    QStringList left;
    for (const QString& folder : folders)
        if (!AtomicFileWriter::remove(folder))
            left << folder;
    return left;
}

} // namespace

QString CalibrationWriter::VehicleFolderOf(const QString& workshopFolder, const QString& number)
{
    return ExchangeFolderOf(workshopFolder) + u'/' + number;
}

QString CalibrationWriter::DayFolderOf(const Calibration& calibration)
{
    return VehicleFolderOf(calibration.workshopFolder, calibration.number) + u'/' + calibration.day;
}

CalibrationWriter::Outcome CalibrationWriter::Write(const Calibration& calibration)
{
    Outcome outcome;
    const QString vehicleFolder = VehicleFolderOf(calibration.workshopFolder, calibration.number);
    const QString dayFolder = DayFolderOf(calibration);

    // The lock lies in the exchange folder: without it there is nothing to save into.
    if (!QFileInfo(ExchangeFolderOf(calibration.workshopFolder)).isDir()) {
        outcome.result = Result::FolderFailed;
        outcome.path = vehicleFolder;
        return outcome;
    }
    FolderLock lock(FolderLock::VehicleLockPath(vehicleFolder));
    switch (lock.Acquire()) {
    case FolderLock::Result::Locked:
        break;
    case FolderLock::Result::HeldElsewhere:
        outcome.result = Result::Locked;
        outcome.holder = lock.Holder();
        return outcome;
    case FolderLock::Result::Failed:
        outcome.result = Result::LockFailed;
        outcome.path = lock.Path();
        return outcome;
    }

    // Folders this save makes are taken away again when the save fails, so a failed save
    // leaves no empty day in the tree.
    QStringList madeFolders;
    for (const QString& folder : {vehicleFolder, dayFolder}) {
        const bool existed = QFileInfo(folder).isDir();
        if (!existed)
            CreateFolder(folder);
        if (!QFileInfo(folder).isDir()) {
            outcome.result = Result::FolderFailed;
            outcome.path = folder;
            outcome.foldersLeft = RemoveMadeFolders(madeFolders);
            return outcome;
        }
        if (!existed)
            madeFolders.prepend(folder);
    }

    // The three files of one calibration are replaced together, never a new one beside old
    // ones.
    AtomicFileGroup files;
    files.add(dayFolder + u'/' + kParamFileName, calibration.param);
    files.add(dayFolder + u'/' + kGsmFileName, calibration.gsm);
    files.add(vehicleFolder + u'/' + kOwnerFileName, calibration.owner);
    const AtomicFileGroup::Outcome written = files.commit();
    if (written.ok)
        return outcome;
    if (written.renamed == 0) {
        outcome.result = Result::WriteFailed;
        outcome.path = files.path(written.failedIndex);
        outcome.foldersLeft = RemoveMadeFolders(madeFolders);
        return outcome;
    }
    outcome.result = Result::PartlyWritten;
    for (qsizetype i = 0; i < files.size(); ++i)
        (i < written.renamed ? outcome.replaced : outcome.old) << files.path(i);
    return outcome;
}
