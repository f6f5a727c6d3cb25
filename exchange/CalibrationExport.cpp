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

TransferReport CalibrationExport::run(const QList<Item>& items,
                                      const TransferProgress& progress) const
{
    TransferReport report;
    report.total = static_cast<int>(items.size());
    if (!TransferFolders::MakeFolder(m_exchangeFolder)) {
        // Without the exchange folder nothing below it can be made either.
        TransferFolders::NoteFolderNotMade(m_exchangeFolder, errno, report);
        return report;
    }
    // FAT and exFAT ignore letter case: two numbers that differ only in it would share one
    // folder on the stick, the second replacing the first. Neither is written.
    QHash<QString, QStringList> spellings;
    for (const Item& item : items) {
        QStringList& same = spellings[item.number.toCaseFolded()];
        if (!same.contains(item.number))
            same << item.number;
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
        if (report.namesDifferingInCase.contains(items[i].number))
            continue;
        if (ExportDay(items[i], report))
            ++report.done;
    }
    if (progress && !report.stopped)
        progress(report.total, report.total);
    report.notFlushed = !AtomicFileWriter::flushFileSystem(m_exchangeFolder);
    return report;
}

bool CalibrationExport::ExportDay(const Item& item, TransferReport& report) const
{
    if (!DriveCanHoldName(item.number) || !DriveCanHoldName(item.day)) {
        const QString name =
            DriveCanHoldName(item.number) ? item.number + u'/' + item.day : item.number;
        if (!report.namesNotOnDrive.contains(name))
            report.namesNotOnDrive << name;
        return false;
    }
    const QString vehicleFolder = m_exchangeFolder + u'/' + item.number;
    const QString dayFolder = vehicleFolder + u'/' + item.day;
    // A damaged stored record refuses its whole calibration: the tachograph must not be
    // handed half of one.
    ExportRecord records[] = {
        {item.dayFolder + u'/' + kParamFileName, dayFolder + u'/' + kParamExportName,
         std::vector<std::uint8_t>(RecordSize::Param), RecordSize::ParamExport},
        {item.dayFolder + u'/' + kGsmFileName, dayFolder + u'/' + kGsmExportName,
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
        if (!TransferFolders::MakeFolder(folder)) {
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
