#pragma once

#include "exchange/TransferReport.h"

#include <QString>
#include <QStringList>

// File system steps of a transfer that the record writer does not cover. Links are never
// followed: a prepared drive must not make the program read or write anywhere else.
namespace TransferFolders {

enum class Kind { Missing, Folder, File, Other }; // Other: a link, device, pipe or socket

// What the path itself is, without following a link.
Kind KindOf(const QString& path);

// The entries of a folder, read from its directory stream so that no name is dropped: the
// names the system's file name encoding can carry, and, shown with their undecodable bytes
// as \xNN, those it cannot (they cannot be opened by name through Qt).
struct Listing {
    QStringList names;
    QStringList undecodable;
};
Listing ListEntries(const QString& folder);

// Notes in `report` a folder that could not be made (EnsureFolder() refusing links), by what stands
// in its way: a link or special file is skipped, anything else is named with the system's reason.
void NoteFolderNotMade(const QString& folder, int error, TransferReport& report);

// The path followed by the system's words for `error` (an errno value), for a message.
QString WithReason(const QString& path, int error);

} // namespace TransferFolders
