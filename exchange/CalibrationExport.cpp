#include "exchange/CalibrationExport.h"

#include "params/RegistrationNumber.h"

#include "exchange/TransferFolders.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QFile>
#include <QHash>

#include <cerrno>

#include <span>
#include <utility>
#include <vector>

CalibrationExport::CalibrationExport(QString exchangeFolder)
    : m_exchangeFolder(std::move(exchangeFolder))
{
}

bool CalibrationExport::DriveCanHoldName(const QString& name)
{
    return StickCanHoldName(name);
}

TransferReport CalibrationExport::run(const QList<CalibrationPlace>& days,
                                      const TransferProgress& progress) const
{
    TransferReport report;
    report.total = static_cast<int>(days.size());
    if (!EnsureFolder(m_exchangeFolder, nullptr, FolderLinks::Refuse)) {
        // Without the exchange folder nothing below it can be made either.
        TransferFolders::NoteFolderNotMade(m_exchangeFolder, errno, report);
        return report;
    }
    // FAT and exFAT ignore letter case: two numbers that differ only in it would share one
    // folder on the stick, the second replacing the first. Neither is written.
    QHash<QString, QStringList> spellings;
    for (const CalibrationPlace& day : days) {
        QStringList& same = spellings[day.vehicle.toCaseFolded()];
        if (!same.contains(day.vehicle))
            same << day.vehicle;
    }
    for (const QStringList& same : std::as_const(spellings)) {
        if (same.size() > 1)
            report.namesDifferingInCase << same;
    }
    for (int i = 0; i < report.total; ++i) {
        if (progress && !progress(i, report.total)) {
            report.stopped = true;
            break;
        }
        ++report.attempted;
        if (report.namesDifferingInCase.contains(days[i].vehicle))
            continue;
        if (ExportDay(days[i], report))
            ++report.done;
    }
    if (progress && !report.stopped)
        progress(report.total, report.total);
    report.notFlushed = !AtomicFileWriter::flushFileSystem(m_exchangeFolder);
    return report;
}

bool CalibrationExport::ExportDay(const CalibrationPlace& day, TransferReport& report) const
{
    if (!DriveCanHoldName(day.vehicle) || !DriveCanHoldName(day.day)) {
        const QString name =
            DriveCanHoldName(day.vehicle) ? JoinPath(day.vehicle, day.day) : day.vehicle;
        if (!report.namesNotOnDrive.contains(name))
            report.namesNotOnDrive << name;
        return false;
    }
    const QString vehicleFolder = JoinPath(m_exchangeFolder, day.vehicle);
    const QString dayFolder = JoinPath(vehicleFolder, day.day);
    // A damaged stored record refuses its whole calibration: the tachograph must not be
    // handed half of one.
    ExportRecord records[] = {
        {day.paramFile(), JoinPath(dayFolder, kParamExportName),
         std::vector<std::uint8_t>(RecordSize::Param), RecordSize::ParamExport},
        {day.gsmFile(), JoinPath(dayFolder, kGsmExportName),
         std::vector<std::uint8_t>(RecordSize::Gsm), RecordSize::GsmExport},
    };
    bool damaged = false;
    for (ExportRecord& record : records) {
        record.state = ReadCheckedRecordFile(record.source, record.bytes);
        if (record.state != RecordFileState::Whole && record.state != RecordFileState::Missing &&
            record.state != RecordFileState::Unreadable) {
            report.calibrationsRefused.append({record.source, record.state});
            damaged = true;
        }
    }
    if (damaged)
        return false;
    for (const QString& folder : {vehicleFolder, dayFolder}) {
        if (!EnsureFolder(folder, nullptr, FolderLinks::Refuse)) {
            TransferFolders::NoteFolderNotMade(folder, errno, report);
            return false;
        }
    }
    // Both records are tried even when the first fails: the tachograph takes each alone.
    bool written = false;
    for (const ExportRecord& record : records)
        written = WriteRecord(record, report) || written;
    return written;
}

bool CalibrationExport::WriteRecord(const ExportRecord& record, TransferReport& report) const
{
    if (record.state == RecordFileState::Missing || record.state == RecordFileState::Unreadable) {
        report.filesNotRead << record.source;
        return false;
    }
    // The writer would replace the file a link points to, wherever that lies.
    const TransferFolders::Kind kind = TransferFolders::KindOf(record.target);
    if (kind != TransferFolders::Kind::Missing && kind != TransferFolders::Kind::File) {
        report.skipped << record.target;
        return false;
    }
    const std::span<const std::uint8_t> payload(record.bytes.data(), record.exportedSize);
    if (!AtomicFileWriter::replace(record.target, RecordFileContent(payload))) {
        const QString failed = TransferFolders::WithReason(record.target, errno);
        // The tachograph would load an older file left here as if it were this calibration.
        if (kind == TransferFolders::Kind::Missing)
            report.filesNotWritten << failed;
        else if (QFile::remove(record.target))
            report.olderFilesRemoved << failed;
        else
            report.olderFilesKept << failed;
        return false;
    }
    return true;
}
