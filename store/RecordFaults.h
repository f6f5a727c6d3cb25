#pragma once

#include "store/RecordFile.h"

#include <QString>

// What is wrong with a record file, in the language of the user interface, to follow its
// path in a message; empty for a whole file.
QString RecordFaultText(RecordFileState state);
