#pragma once

#include <QString>
#include <QStringList>

// Removes, through the file writer, the folders a command made before it failed or was
// abandoned, in the order given (deepest first). Returns one line for each folder that
// stays, each line starting with a line break, to be added to the command's message.
QString RemoveMadeFolders(const QStringList& folders);
