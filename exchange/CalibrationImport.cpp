#include "exchange/CalibrationImport.h"

#include "exchange/TransferFolders.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/LockRefusal.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

namespace {

// The folder's path with links resolved; for a folder not made yet, its parent's resolved
// path followed by its name.
QString resolvedFolder(const QString& path)
{
    const QFileInfo info(path);
    const QString whole = info.canonicalFilePath();
    if (!whole.isEmpty())
        return whole;
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    return parent.isEmpty() ? info.absoluteFilePath() : parent + u'/' + info.fileName();
}

bool isWithin(const QString& inner, const QString& outer)
{
    return inner == outer || inner.startsWith(outer.endsWith(u'/') ? outer : outer + u'/');
}

} // namespace

CalibrationImport::CalibrationImport(QString source, QString destination)
    : m_source(std::move(source)), m_destination(std::move(destination))
{
}

TransferReport CalibrationImport::run(const TransferProgress& progress,
                                      const ReplaceQuestion& replaceOurs) const
{
    TransferReport report;
    switch (TransferFolders::KindOf(m_source)) {
    case TransferFolders::Kind::Folder:
        break;
    case TransferFolders::Kind::Missing:
        report.sourceMissing = true;
        return report;
    case TransferFolders::Kind::File:
        report.sourceNotFolder = true;
        return report;
    case TransferFolders::Kind::Other:
        report.skipped << m_source;
        return report;
    }
    // Copying a folder into itself would never end.
    if (Overlapping()) {
        report.overlapping = true;
        return report;
    }

    QList<Step> steps;
    Plan(m_source, m_destination, steps, report);
    if (replaceOurs) {
        QStringList ours;
        for (const Step& step : steps) {
            if (Differs(step))
                ours << step.destination;
        }
        if (!ours.isEmpty() && !replaceOurs(ours))
            steps.removeIf([&ours](const Step& step) { return ours.contains(step.destination); });
    }
    report.total = static_cast<int>(steps.size());

    Folders folders;
    // Each vehicle's files are written under its lock, so that they never mix with a save of
    // another workstation; a vehicle locked elsewhere is left as it is and named.
    std::optional<FolderLock> vehicleLock;
    QString lockedVehicle;
    FolderLock::Result locked = FolderLock::Result::Locked;
    for (const Step& step : steps) {
        if (progress && !progress(report.attempted, report.total)) {
            report.stopped = true;
            break;
        }
        ++report.attempted;
        const QString vehicle = VehicleFolderOf(step.destination);
        if (vehicle != lockedVehicle) {
            vehicleLock.reset();
            lockedVehicle = vehicle;
            locked = FolderLock::Result::Locked;
            if (!vehicle.isEmpty()) {
                vehicleLock.emplace(FolderLock::VehicleLockPath(vehicle));
                locked = vehicleLock->Acquire();
                // An exchange folder the run has yet to make holds no vehicle another
                // workstation could be writing.
                if (locked == FolderLock::Result::Failed && !QFileInfo(m_destination).isDir())
                    locked = FolderLock::Result::Locked;
                if (locked != FolderLock::Result::Locked)
                    report.vehiclesLocked << LockRefusal::Text(
                        locked, LockRefusal::Scope::Vehicle, QFileInfo(vehicle).fileName(),
                        vehicleLock->Holder(), vehicleLock->Path());
            }
        }
        if (locked == FolderLock::Result::Locked && CopyFile(step, folders, report))
            ++report.done;
    }
    vehicleLock.reset();
    // A run cut short, or files refused, must not leave vehicles or days without records; a
    // folder that cannot be taken away is named to the user.
    for (qsizetype i = folders.made.size() - 1; i >= 0; --i) {
        const QString& folder = folders.made.at(i);
        if (QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                 QDir::System) &&
            !AtomicFileWriter::remove(folder))
            report.foldersNotRemoved << folder;
    }
    if (progress && !report.stopped)
        progress(report.total, report.total);
    return report;
}

QString CalibrationImport::VehicleFolderOf(const QString& destination) const
{
    const QString inside = destination.mid(m_destination.size() + 1);
    const qsizetype slash = inside.indexOf(u'/');
    return slash < 0 ? QString() : m_destination + u'/' + inside.left(slash);
}

bool CalibrationImport::Differs(const Step& step)
{
    // The workshop's own details and the owner's are typed in here; the calibrations are the
    // tachograph's and are replaced without a question.
    const QString name = QFileInfo(step.destination).fileName();
    if (name != kWorkshopFileName && name != kOwnerFileName)
        return false;
    if (TransferFolders::KindOf(step.destination) != TransferFolders::Kind::File)
        return false;
    QFile theirs(step.source);
    QFile ours(step.destination);
    if (!theirs.open(QIODevice::ReadOnly) || !ours.open(QIODevice::ReadOnly))
        return true;
    return theirs.read(kMaxFileBytes) != ours.read(kMaxFileBytes);
}

bool CalibrationImport::Overlapping() const
{
    const QString source = resolvedFolder(m_source);
    const QString destination = resolvedFolder(m_destination);
    return isWithin(source, destination) || isWithin(destination, source);
}

void CalibrationImport::Plan(const QString& source, const QString& destination, QList<Step>& steps,
                             TransferReport& report) const
{
    const TransferFolders::Listing listing = TransferFolders::ListEntries(source);
    for (const QString& name : listing.undecodable)
        report.namesNotDecodable << source + u'/' + name;
    for (const QString& name : listing.names) {
        // Another workstation's lock on the drive locks nothing here.
        if (FolderLock::IsLockFileName(name))
            continue;
        const QString from = source + u'/' + name;
        const QString to = destination + u'/' + name;
        switch (TransferFolders::KindOf(from)) {
        case TransferFolders::Kind::Folder:
            Plan(from, to, steps, report);
            break;
        case TransferFolders::Kind::File:
            steps.append({from, to});
            break;
        case TransferFolders::Kind::Other:
            report.skipped << from;
            break;
        case TransferFolders::Kind::Missing:
            report.filesNotRead << from;
            break;
        }
    }
}

bool CalibrationImport::MakeFoldersFor(const QString& file, Folders& folders,
                                       TransferReport& report) const
{
    const QString parent = QFileInfo(file).path();
    QStringList levels{m_destination};
    for (const QString& name : parent.mid(m_destination.size()).split(u'/', Qt::SkipEmptyParts))
        levels << levels.last() + u'/' + name;
    for (const QString& level : levels) {
        if (folders.ready.contains(level))
            continue;
        // What lies in a folder that could not be made is covered by naming that folder.
        if (folders.failed.contains(level))
            return false;
        bool made = false;
        if (!EnsureFolder(level, &made, FolderLinks::Refuse)) {
            TransferFolders::NoteFolderNotMade(level, errno, report);
            folders.failed << level;
            return false;
        }
        if (made)
            folders.made << level;
        folders.ready.insert(level);
    }
    return true;
}

bool CalibrationImport::CopyFile(const Step& step, Folders& folders, TransferReport& report) const
{
    QFile file(step.source);
    if (QFileInfo(step.source).size() > kMaxFileBytes) {
        report.filesTooLarge << step.source;
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        report.filesNotRead << step.source;
        return false;
    }
    QByteArray content = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        report.filesNotRead << step.source;
        return false;
    }
    if (content.size() > kMaxFileBytes) {
        report.filesTooLarge << step.source;
        return false;
    }
    // A damaged record must not replace a whole one of the workshop.
    const std::uint32_t payloadSize = RecordPayloadSizeOf(QFileInfo(step.source).fileName());
    if (payloadSize != 0) {
        const RecordFileState state = CheckRecordContent(content, payloadSize);
        if (state != RecordFileState::Whole) {
            report.recordsRefused.append({step.source, state});
            return false;
        }
    }
    if (!MakeFoldersFor(step.destination, folders, report))
        return false;
    if (!AtomicFileWriter::replace(step.destination, content)) {
        report.filesNotWritten << TransferFolders::WithReason(step.destination, errno);
        return false;
    }
    return true;
}
