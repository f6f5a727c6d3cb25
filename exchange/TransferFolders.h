#pragma once

#include <QString>

// File system steps of a transfer that the record writer does not cover. Links are never
// followed: a prepared drive must not make the program read or write anywhere else.
namespace TransferFolders {

enum class Kind { Missing, Folder, File, Other }; // Other: a link, device, pipe or socket

// What the path itself is, without following a link.
Kind KindOf(const QString& path);

// Makes one folder level unless it is there already, and makes the new entry durable by
// syncing its parent. False when the path is not a plain folder afterwards (a link to a
// folder counts as none).
bool MakeFolder(const QString& path);

// Flushes everything written to the file system that holds `path` onto its medium.
bool FlushFileSystem(const QString& path);

} // namespace TransferFolders
