#pragma once

#include "exchange/TransferReport.h"
#include "store/CalibrationPlace.h"

#include <QList>
#include <QString>

#include <vector>

// Writes stored calibrations onto the tachograph's drive as the records it reads:
//   <drive>/RX902/<number>/<day>/PARAM.BIN  the first 171 bytes of PARAM_UP.BIN + their sum
//   <drive>/RX902/<number>/<day>/GSM.BIN    the first 137 bytes of GSM_UP.BIN + their sum
// Every file is replaced atomically, and the run ends only when the drive has confirmed
// that the data is on it, so the stick may be pulled as soon as the run returns.
class CalibrationExport {
public:
    // `exchangeFolder`: the drive's root text followed by "RX902".
    explicit CalibrationExport(QString exchangeFolder);

    // Exports the calibrations in order. A record that cannot be read, a folder or file that
    // cannot be made is noted and the run goes on; a refusal from `progress` stops it
    // before the next calibration, so no calibration is left half written.
    TransferReport run(const QList<CalibrationPlace>& days,
                       const TransferProgress& progress = {}) const;

    // Whether a FAT or exFAT stick can hold `name` as a folder name.
    static bool DriveCanHoldName(const QString& name);

private:
    struct ExportRecord {
        QString source; // the stored record in the workshop
        QString target; // its export on the drive
        std::vector<std::uint8_t> bytes;
        std::size_t exportedSize = 0;
        RecordFileState state = RecordFileState::Missing;
    };

    bool ExportDay(const CalibrationPlace& day, TransferReport& report) const;
    bool WriteRecord(const ExportRecord& record, TransferReport& report) const;

    QString m_exchangeFolder;
};
