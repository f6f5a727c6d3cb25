#include "exchange/TransferMessages.h"

#include "exchange/CalibrationImport.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/RecordFaults.h"

#include <algorithm>

namespace TransferMessages {

namespace {

// A message box is no place for hundreds of paths: the first few stand for the rest.
constexpr qsizetype kPathsShown = 12;

// Nor for a path longer than the screen is wide: its middle goes, its start and its end
// (where the file and the reason are) stay.
constexpr qsizetype kLineChars = 160;

QString Elided(const QString& text)
{
    if (text.size() <= kLineChars)
        return text;
    constexpr qsizetype head = kLineChars / 3;
    return text.left(head) + QChar(0x2026) + text.right(kLineChars - head - 1);
}

QString PathLines(const QStringList& paths)
{
    QStringList lines;
    for (const QString& path : paths.mid(0, kPathsShown))
        lines << Elided(path);
    if (paths.size() > kPathsShown)
        lines << Lang(StringId::TransferMore).arg(paths.size() - kPathsShown);
    return lines.join(u'\n');
}

QStringList FaultLines(const QList<RecordFault>& faults)
{
    QStringList lines;
    for (const RecordFault& fault : faults)
        lines << fault.path + QStringLiteral(" — ") + RecordFaultText(fault.state);
    return lines;
}

// What was there to transfer and was not transferred, leaving out what a stop left untried;
// a problem outside the counted steps (a name refused, a link skipped) counts at least one.
int Failed(const TransferReport& report)
{
    const int untried = report.stopped ? report.total - report.attempted : 0;
    return std::max(1, report.total - report.done - untried);
}

QString WithStop(QString text, const TransferReport& report)
{
    if (report.stopped)
        text += u' ' + Lang(StringId::TransferStopped).arg(report.done).arg(report.total);
    return text;
}

} // namespace

QString Problems(const TransferReport& report, const QString& exchangeFolder,
                 const QString& workshopFolder)
{
    if (!report.hasProblems())
        return {};
    QStringList parts{Lang(StringId::TransferProblems)};
    if (report.overlapping)
        parts
            << Lang(StringId::TransferOverlap).arg(Elided(exchangeFolder), Elided(workshopFolder));
    if (report.sourceNotFolder)
        parts << Lang(StringId::TransferSourceNotFolder).arg(Elided(exchangeFolder));
    const std::pair<int, const QStringList*> lists[] = {
        {StringId::TransferNamesNotOnDrive, &report.namesNotOnDrive},
        {StringId::TransferNamesDifferInCase, &report.namesDifferingInCase},
        {StringId::TransferFoldersNotCreated, &report.foldersNotCreated},
        {StringId::TransferFilesNotRead, &report.filesNotRead},
        {StringId::TransferFilesNotWritten, &report.filesNotWritten},
        {StringId::TransferOlderFilesRemoved, &report.olderFilesRemoved},
        {StringId::TransferOlderFilesKept, &report.olderFilesKept},
        {StringId::TransferSkipped, &report.skipped},
        {StringId::TransferNamesNotDecodable, &report.namesNotDecodable},
    };
    for (const auto& [id, paths] : lists) {
        if (!paths->isEmpty())
            parts << Lang(id).arg(PathLines(*paths));
    }
    const std::pair<int, const QList<RecordFault>*> faults[] = {
        {StringId::TransferRecordsRefused, &report.recordsRefused},
        {StringId::TransferCalibrationsRefused, &report.calibrationsRefused},
    };
    for (const auto& [id, list] : faults) {
        if (!list->isEmpty())
            parts << Lang(id).arg(PathLines(FaultLines(*list)));
    }
    if (!report.filesTooLarge.isEmpty())
        parts << Lang(StringId::TransferFilesTooLarge)
                     .arg(CalibrationImport::kMaxFileBytes / (1024 * 1024))
                     .arg(PathLines(report.filesTooLarge));
    for (const QString& folder : report.foldersNotRemoved)
        parts << Lang(StringId::FolderDeleteFailed).arg(Elided(folder));
    if (report.notFlushed)
        parts << Lang(StringId::TransferNotFlushed).arg(Elided(exchangeFolder));
    return parts.join(QStringLiteral("\n\n"));
}

QString ExportDone(const TransferReport& report, const QString& exchangeFolder)
{
    // After a failure, or until the drive has confirmed the data, the status must not invite
    // pulling the drive out.
    if (report.hasProblems())
        return WithStop(Lang(StringId::TransferExportedWithFailures)
                            .arg(report.done)
                            .arg(exchangeFolder)
                            .arg(Failed(report)),
                        report);
    return WithStop(Lang(StringId::TransferExported).arg(report.done).arg(exchangeFolder), report);
}

QString ImportDone(const TransferReport& report, const QString& exchangeFolder)
{
    if (report.sourceMissing)
        return Lang(StringId::TransferNoExchangeFolder).arg(exchangeFolder);
    if (report.overlapping)
        return {};
    if (report.hasProblems())
        return WithStop(Lang(StringId::TransferImportedWithFailures)
                            .arg(report.done)
                            .arg(exchangeFolder)
                            .arg(Failed(report)),
                        report);
    return WithStop(Lang(StringId::TransferImported).arg(report.done).arg(exchangeFolder), report);
}

} // namespace TransferMessages
