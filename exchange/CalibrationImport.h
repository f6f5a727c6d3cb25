#pragma once

#include "exchange/TransferReport.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// Merges the drive's exchange folder into a workshop's: missing folders are made just before
// their first file is written, files of the same name are replaced (atomically) without a
// question, and nothing of the workshop's is deleted; folders the run made and left empty are
// taken away again, and each that cannot be is reported. Only
// plain folders and files are taken; links and special files on the drive are skipped and
// noted, so the drive cannot make the program read or write outside the two folders.
class CalibrationImport {
public:
    // `source`: the drive's root text followed by "RX902"; `destination`: the workshop's
    // exchange folder.
    CalibrationImport(QString source, QString destination);

    // Asked once, before anything is copied, with the workshop's details and owner records
    // (SINFO.BIN, CINFO.BIN) that the drive would replace by different ones; true replaces
    // them, false keeps the workshop's.
    using ReplaceQuestion = std::function<bool(const QStringList& ours)>;

    // A refusal from `progress` stops the run before the next file. Without a question,
    // every file is replaced.
    TransferReport run(const TransferProgress& progress = {},
                       const ReplaceQuestion& replaceOurs = {}) const;

    // A file of the drive larger than this is not taken: the tachograph writes small
    // records, and the copy holds one file in memory at a time.
    static constexpr qint64 kMaxFileBytes = qint64{64} * 1024 * 1024;

private:
    struct Step {
        QString source;
        QString destination;
    };
    struct Folders {
        QStringList made;    // in the order made, parents first
        QStringList failed;  // could not be made; their files are not tried
        QSet<QString> ready; // found or made as folders; not looked at again
    };

    void Plan(const QString& source, const QString& destination, QList<Step>& steps,
              TransferReport& report) const;
    bool Overlapping() const;
    // The vehicle folder that a file of the workshop's exchange folder lies in; "" for a file
    // of the exchange folder itself.
    QString VehicleFolderOf(const QString& destination) const;
    static bool Differs(const Step& step);
    bool MakeFoldersFor(const QString& file, Folders& folders, TransferReport& report) const;
    bool CopyFile(const Step& step, Folders& folders, TransferReport& report) const;

    QString m_source;
    QString m_destination;
};
