#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The file work of saving one calibration, apart from the window so that it may run on a
// worker thread or in another process:
//   <workshop>/RX902/<number>/<day>/PARAM_UP.BIN and GSM_UP.BIN,
//   <workshop>/RX902/<number>/CINFO.BIN,
// written under the vehicle's lock, so that two workstations saving the same vehicle at once
// never leave one's records beside the other's. Folders the save makes are taken away again
// when it fails.
class CalibrationWriter {
public:
    struct Calibration {
        QString workshopFolder;
        QString number;
        QString day;
        QByteArray param; // each a whole record file: payload and sum
        QByteArray gsm;
        QByteArray owner;
    };

    enum class Result {
        Written,
        Locked,        // another process holds the vehicle's lock; `holder` names it
        LockFailed,    // the lock file cannot be made; `path` is the lock file
        FolderFailed,  // `path` could not be made
        WriteFailed,   // `path` could not be written; nothing was replaced
        PartlyWritten, // `replaced` are new, `old` kept their previous content
    };
    struct Outcome {
        Result result = Result::Written;
        QString path;
        QString holder;
        QStringList replaced;
        QStringList old;
        QStringList foldersLeft; // made by this save and left behind after a failure
    };

    static QString VehicleFolderOf(const QString& workshopFolder, const QString& number);
    static QString DayFolderOf(const Calibration& calibration);

    static Outcome Write(const Calibration& calibration);
};
