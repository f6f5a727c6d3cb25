#pragma once

#include <QStringList>

// The program's own command-line options: --help and --version print their answer on the
// terminal and end the process before any window, so they work without a display. Every
// other argument is left to Qt (-platform, -style, ...).
class CommandLine {
public:
    // Returns only when neither option was given.
    static void answer(const QStringList& arguments);
};
