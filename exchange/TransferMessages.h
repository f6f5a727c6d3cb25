#pragma once

#include "exchange/TransferReport.h"

#include <QString>

// The texts that tell the user how a transfer went, in the language of the user interface.
namespace TransferMessages {

enum class Direction { Export, Import };

// A message box's text and, where the list is too long for the box, its details part.
struct Message {
    QString text;
    QString details;
};

// Every problem of the report, grouped by kind, in one message under a heading that says
// what happened; empty when there was none.
Message Problems(const TransferReport& report, Direction direction, const QString& exchangeFolder,
                 const QString& workshopFolder = QString());

// The status bar's summary of a finished export or import.
QString ExportDone(const TransferReport& report, const QString& exchangeFolder);
QString ImportDone(const TransferReport& report, const QString& exchangeFolder);

} // namespace TransferMessages
