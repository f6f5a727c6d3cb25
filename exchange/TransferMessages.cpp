#include "exchange/TransferMessages.h"

#include "exchange/CalibrationImport.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/RecordFaults.h"

#include <algorithm>

namespace TransferMessages {

namespace {

// A message box must fit the screen: up to this many lines it shows every path; beyond,
// the box gives the first few of each kind and the details part holds them all.
constexpr qsizetype kBoxLines = 20;
constexpr qsizetype kPathsInSummary = 3;

// Nor may a path be wider than the screen: its middle goes, its start and its end (where
// the file and the reason are) stay.
constexpr qsizetype kLineChars = 160;

QString Elided(const QString& text)
{
    if (text.size() <= kLineChars)
        return text;
    constexpr qsizetype head = kLineChars / 3;
    return text.left(head) + QChar(0x2026) + text.right(kLineChars - head - 1);
}

// One kind of problem: a text whose last place takes its paths one a line, or a sentence
// whose places take the paths one each.
struct Section {
    QString text;
    QStringList paths;
    bool listed = true;
};

enum class Form { Box, Details };

QString Rendered(const Section& section, qsizetype shown, Form form)
{
    const auto fitted = [form](const QString& path) {
        return form == Form::Box ? Elided(path) : path;
    };
    if (!section.listed) {
        QString text = section.text;
        for (const QString& path : section.paths)
            text = text.arg(fitted(path));
        return text;
    }
    QStringList lines;
    for (const QString& path : section.paths.mid(0, shown))
        lines << fitted(path);
    if (section.paths.size() > shown)
        lines << Lang(StringId::TransferMore).arg(section.paths.size() - shown);
    return section.text.arg(lines.join(u'\n'));
}

QString Joined(QStringList parts, const QList<Section>& sections, qsizetype shown, Form form)
{
    for (const Section& section : sections)
        parts << Rendered(section, shown, form);
    return parts.join(QStringLiteral("\n\n"));
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

// The first line tells apart what the technician must act on: nothing transferred, part of
// it, or only damaged records refused or odd entries skipped.
int Heading(const TransferReport& report, Direction direction)
{
    TransferReport rest = report;
    rest.recordsRefused.clear();
    rest.calibrationsRefused.clear();
    if (!rest.hasProblems())
        return StringId::TransferRecordsRefusedOnly;
    rest = report;
    rest.skipped.clear();
    rest.namesNotDecodable.clear();
    if (!rest.hasProblems())
        return StringId::TransferSkippedOnly;
    rest = report;
    rest.notFlushed = false;
    if (!rest.hasProblems() && report.done > 0)
        return StringId::TransferNotConfirmed;
    if (direction == Direction::Export)
        return report.done > 0 ? StringId::TransferSomeNotWritten
                               : StringId::TransferNothingWritten;
    return report.done > 0 ? StringId::TransferSomeNotTaken : StringId::TransferNothingTaken;
}

} // namespace

Message Problems(const TransferReport& report, Direction direction, const QString& exchangeFolder,
                 const QString& workshopFolder)
{
    if (!report.hasProblems())
        return {};
    QList<Section> sections;
    if (report.overlapping)
        sections.append({Lang(StringId::TransferOverlap), {exchangeFolder, workshopFolder}, false});
    if (report.sourceNotFolder)
        sections.append({Lang(StringId::TransferSourceNotFolder), {exchangeFolder}, false});
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
            sections.append({Lang(id), *paths});
    }
    const std::pair<int, const QList<RecordFault>*> faults[] = {
        {StringId::TransferRecordsRefused, &report.recordsRefused},
        {StringId::TransferCalibrationsRefused, &report.calibrationsRefused},
    };
    for (const auto& [id, list] : faults) {
        if (!list->isEmpty())
            sections.append({Lang(id), FaultLines(*list)});
    }
    if (!report.filesTooLarge.isEmpty())
        sections.append({Lang(StringId::TransferFilesTooLarge)
                             .arg(CalibrationImport::kMaxFileBytes / (qint64{1024} * 1024)),
                         report.filesTooLarge});
    for (const QString& refusal : report.vehiclesLocked)
        sections.append({refusal, {}, false});
    for (const QString& folder : report.foldersNotRemoved)
        sections.append({Lang(StringId::FolderDeleteFailed), {folder}, false});
    if (report.notFlushed)
        sections.append({Lang(StringId::TransferNotFlushed), {exchangeFolder}, false});

    const QStringList heading{Lang(Heading(report, direction))};
    qsizetype lines = 1;
    for (const Section& section : sections)
        lines += 2 + (section.listed ? section.paths.size() : 0);
    if (lines <= kBoxLines)
        return {Joined(heading, sections, lines, Form::Box), {}};
    return {Joined(heading, sections, kPathsInSummary, Form::Box) + QStringLiteral("\n\n") +
                Lang(StringId::TransferFullListInDetails),
            Joined({}, sections, lines, Form::Details)};
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
