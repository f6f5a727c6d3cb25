#pragma once

#include "store/RecordFile.h"

#include <QList>
#include <QStringList>

#include <functional>

// Called before each step of a transfer, on the thread that runs it, with the steps done and
// the steps in all; returns whether to go on. The progress dialog feeds it; tests answer it
// directly.
using TransferProgress = std::function<bool(int done, int total)>;

// A record file that was not taken because it is damaged, with what is wrong with it.
struct RecordFault {
    QString path;
    RecordFileState state;
    bool operator==(const RecordFault&) const = default;
};

// What a transfer did, and every folder and file it could not deal with, by path. The
// transfer goes on past each problem, so the user is told of all of them at the end.
struct TransferReport {
    int done = 0;                 // calibrations written (export) or files copied (import)
    int total = 0;                // calibrations or files there were to transfer
    int attempted = 0;            // of those, how many the run came to before any stop
    bool stopped = false;         // the user cancelled before the end
    bool sourceMissing = false;   // import: the drive holds no exchange folder
    bool sourceNotFolder = false; // import: the drive's exchange folder is a plain file
    bool overlapping = false;     // import: drive and workshop folders lie in one another
    bool notFlushed = false;      // export: the drive did not confirm that the data is on it
    QStringList foldersNotCreated;
    QStringList foldersNotRemoved; // import: made by the run, left empty, could not be removed
    QStringList filesNotRead;
    QStringList filesNotWritten;      // each with the system's reason
    QStringList olderFilesRemoved;    // export: not written, the drive's older file removed
    QStringList olderFilesKept;       // export: not written, the drive's older file not removable
    QStringList skipped;              // links and special files, never followed
    QStringList namesNotOnDrive;      // export: numbers a FAT or exFAT stick cannot hold
    QStringList namesDifferingInCase; // export: numbers a FAT or exFAT stick cannot tell apart
    QStringList filesTooLarge;
    QStringList namesNotDecodable;     // import: names of the drive that are no valid text here
    QStringList vehiclesLocked;        // import: vehicles locked elsewhere, each as told
    QList<RecordFault> recordsRefused; // import: damaged records of the drive, ours kept
    QList<RecordFault> calibrationsRefused; // export: damaged stored records, day not written

    bool hasProblems() const
    {
        return overlapping || sourceNotFolder || notFlushed || !foldersNotCreated.isEmpty() ||
               !foldersNotRemoved.isEmpty() || !filesNotRead.isEmpty() ||
               !filesNotWritten.isEmpty() || !skipped.isEmpty() || !namesNotOnDrive.isEmpty() ||
               !filesTooLarge.isEmpty() || !recordsRefused.isEmpty() ||
               !calibrationsRefused.isEmpty() || !namesNotDecodable.isEmpty() ||
               !namesDifferingInCase.isEmpty() || !olderFilesRemoved.isEmpty() ||
               !olderFilesKept.isEmpty() || !vehiclesLocked.isEmpty();
    }
};
