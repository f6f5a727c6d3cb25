#pragma once

#include <QString>

// Turns a calibration record into its HTML page with libxslt, applying the stylesheet that
// the document's xml-stylesheet instruction names (a path, absolute or relative to the
// document, or a file URL). Both are parsed without network access and without entity
// substitution, and a document or stylesheet with a document type declaration is refused.
// The transform may not read other documents, write files, create folders or use the
// network; a stylesheet that tries is stopped and the attempt is reported.
class XsltTransform {
public:
    struct Result {
        bool ok = false;
        QString html;
        QString error; // the user's message when !ok
        QString stylesheet;
    };

    // `language` ("ru", "en") is handed to the stylesheet as its parameter "lang".
    static Result renderFile(const QString& xmlPath, const QString& language);
};
