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

// Whether a link to a folder counts as the folder. In a workshop it does (the workshop
// folder itself may be a link to a share); on a drive it does not, so a prepared stick
// cannot make the program write elsewhere.
enum class FolderLinks { Follow, Refuse };

// Makes one folder level unless it is there (the parent must exist). Every folder the
// program makes is made here, through the file writer, which flushes the new entry into its
// parent and lets a test fail the step. True when `path` is a folder afterwards; `made`
// says whether this call made it. A folder made here gets `mode` (less the umask).
bool EnsureFolder(const QString& path, bool* made = nullptr,
                  FolderLinks links = FolderLinks::Follow, unsigned mode = 0777);

// Deletes the folder with everything in it, permanently. Returns 0 on success and a
// non-zero code otherwise (also when the folder does not exist).
int DeleteFolderTree(const QString& path);

// Today's local date as "yyyyMMdd", the name of a calibration folder.
QString TodayStamp();
