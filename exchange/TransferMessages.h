#pragma once

#include "exchange/TransferReport.h"

#include <QString>

// The texts that tell the user how a transfer went, in the language of the user interface.
namespace TransferMessages {

// Every problem of the report, grouped by kind, in one message; empty when there was none.
QString Problems(const TransferReport& report, const QString& exchangeFolder,
                 const QString& workshopFolder = QString());

// The status bar's summary of a finished export or import.
QString ExportDone(const TransferReport& report, const QString& exchangeFolder);
QString ImportDone(const TransferReport& report, const QString& exchangeFolder);

} // namespace TransferMessages
