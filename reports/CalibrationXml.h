#pragma once

#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/WorkshopRecord.h"

#include <QString>
#include <QStringList>

// One calibration record as the reports print it: copies of the four records, the vehicle
// and day it belongs to, and the stylesheet that turns it into a page.
struct CalibrationDocument {
    QString vehicle;
    QString day; // "yyyyMMdd" of the calibration folder, or empty
    ParamRecord param;
    GsmRecord gsm;
    OwnerRecord owner;
    WorkshopRecord workshop;
    QString stylesheet; // full path of the XSLT file
};

// The lines of the document, each ending in CR LF:
//   <?xml version="1.0" encoding="UTF-8"?>
//   <?xml-stylesheet type="text/xsl" href="<stylesheet path>"?>
//   <taho_record>
//   <tag_vin>...</tag_vin>       one line per value, 27 in all, ending with tag_date
//   </taho_record>
// The GSM data link's password is left out: no page shows it, and the file outlives the
// calibration it came from.
// Values are escaped (&, <, >) and characters that XML 1.0 does not allow (control
// characters other than tab, line feed and carriage return, unpaired surrogates, U+FFFE and
// U+FFFF) are left out, so the document is well-formed whatever the records hold.
QStringList CalibrationXmlLines(const CalibrationDocument& doc);

// Text fit for XML character data (see above).
QString XmlEscapedText(const QString& text);

// The folder the documents are written to: "reports" in the data folder, readable by its
// owner alone.
QString ReportsFolder();

// Writes <reports folder>/<vehicle>.xml, replacing an earlier file whole, and copies the
// icon `iconSource` beside it unless a copy is there already. A symbolic link at either name
// is replaced, never written through. The XML file's path goes to `xmlPath` either way.
// False, with the system's reason in `error`, when the file could not be written.
bool WriteCalibrationXml(const CalibrationDocument& doc, const QString& iconSource,
                         QString* xmlPath, QString* error = nullptr);
