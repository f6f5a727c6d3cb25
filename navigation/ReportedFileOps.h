#pragma once

#include <QString>

#include <cstdint>
#include <span>

class QWidget;

// Folder creation and record writes for the commands that change the disk: a failure is
// told to the user, naming the folder or file, instead of passing silently.

// True when the folder exists afterwards (made now or already there); otherwise the user
// is told that it could not be created.
bool CreateFolderOrWarn(const QString& folder, QWidget* parent);

// Writes the record file; when that fails the user is told which file.
bool WriteRecordOrWarn(const QString& path, std::span<const std::uint8_t> payload, QWidget* parent);
