#include "exchange/CalibrationExport.h"

#include "params/RegistrationNumber.h"

#include "exchange/TransferFolders.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <span>
#include <utility>
#include <vector>

namespace {

const QString kParamExportName = QStringLiteral("PARAM.BIN");
const QString kGsmExportName = QStringLiteral("GSM.BIN");

} // namespace

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
        report.foldersNotCreated << m_exchangeFolder;
        return report;
    }
    for (int i = 0; i < report.total; ++i) {
        if (progress && !progress(i, report.total)) {
            report.stopped = true;
            break;
        }
        if (ExportDay(items[i], report))
            ++report.done;
    }
    if (progress && !report.stopped)
        progress(report.total, report.total);
    report.notFlushed = !TransferFolders::FlushFileSystem(m_exchangeFolder);
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
    for (const QString& folder : {vehicleFolder, dayFolder}) {
        if (!TransferFolders::MakeFolder(folder)) {
            if (!report.foldersNotCreated.contains(folder))
                report.foldersNotCreated << folder;
            return false;
        }
    }
    // Both records are tried even when the first fails: the tachograph takes each alone.
    const bool param =
        ExportRecord(item.dayFolder + u'/' + kParamFileName, RecordSize::Param,
                     RecordSize::ParamExport, dayFolder + u'/' + kParamExportName, report);
    const bool gsm = ExportRecord(item.dayFolder + u'/' + kGsmFileName, RecordSize::Gsm,
                                  RecordSize::GsmExport, dayFolder + u'/' + kGsmExportName, report);
    return param || gsm;
}

bool CalibrationExport::ExportRecord(const QString& source, qsizetype storedSize,
                                     qsizetype exportedSize, const QString& target,
                                     TransferReport& report) const
{
    std::vector<std::uint8_t> record(static_cast<std::size_t>(storedSize), 0);
    if (!ReadRecordFile(source, record)) {
        report.filesNotRead << source;
        return false;
    }
    // The writer would replace the file a link points to, wherever that lies.
    const TransferFolders::Kind kind = TransferFolders::KindOf(target);
    if (kind != TransferFolders::Kind::Missing && kind != TransferFolders::Kind::File) {
        report.skipped << target;
        return false;
    }
    const std::span<const std::uint8_t> payload(record.data(),
                                                static_cast<std::size_t>(exportedSize));
    if (!AtomicFileWriter::replace(target, RecordFileContent(payload))) {
        report.filesNotWritten << target;
        return false;
    }
    return true;
}
