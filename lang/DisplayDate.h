#pragma once

#include <QDate>
#include <QString>

// Dates as the user reads them, in the form and month names of the language pack in use
// ("09.12.2026" in Russian).
QString DisplayDate(const QDate& date);
// A calibration day's folder name "yyyyMMdd" as such a date; any other name as it stands.
QString DisplayDayStamp(const QString& stamp);
