#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class WorkshopRegister;
class cTree;

// Registers the workshop folder `path` at the end of the register: its workshop record is
// read, or asked for and written when the folder has none; then the register is saved and
// the tree rebuilt. False when nothing was registered (details cancelled or not written, or
// a path that the register file cannot hold).
// The same folder may be registered twice. `madeFolders` are the folders made for this
// workshop just before (deepest first); they go again when nothing is registered.
bool RegisterWorkshopFolder(const QString& path, WorkshopRegister& reg, cTree& tree,
                            QWidget* parent, const QStringList& madeFolders = {});
