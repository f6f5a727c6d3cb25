#pragma once

#include <QString>

// Name of the exchange folder inside every workshop folder and at a drive's root.
inline const QString kExchangeFolderName = QStringLiteral("RX902");

// The records of one calibration (in its day folder) and the vehicle's owner record (in
// the vehicle folder).
inline const QString kParamFileName = QStringLiteral("PARAM_UP.BIN");
inline const QString kGsmFileName = QStringLiteral("GSM_UP.BIN");
inline const QString kOwnerFileName = QStringLiteral("CINFO.BIN");
// The workshop's own record, in its exchange folder.
inline const QString kWorkshopFileName = QStringLiteral("SINFO.BIN");
// What an export writes for the tachograph into a day folder on the drive.
inline const QString kParamExportName = QStringLiteral("PARAM.BIN");
inline const QString kGsmExportName = QStringLiteral("GSM.BIN");

bool PathExists(const QString& path);

// Creates one folder level; true when it was created, false when it exists already or
// cannot be created (the parent must exist).
bool CreateFolder(const QString& path);

// Deletes the folder with everything in it, permanently. Returns 0 on success and a
// non-zero code otherwise (also when the folder does not exist).
int DeleteFolderTree(const QString& path);

// Today's local date as "yyyyMMdd", the name of a calibration folder.
QString TodayStamp();
