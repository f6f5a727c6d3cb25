#pragma once

#include <QString>
#include <QUrl>

// Opens the help page vmhelp.html in the desktop's browser: looked up in the start folder
// first, then beside the program's data files. Tests replace the opening with a recorder.
class HelpOpener {
public:
    static void setStartFolder(const QString& folder);
    static QString startFolder();
    // The page's section for the language in use ("ru", "en"), opened at once.
    static void setSection(const QString& section);

    // The page that would be opened, or an empty URL when none is found.
    static QUrl helpUrl();
    // Opens it; false when no page was found or the desktop refused.
    static bool open();

    // Test seam: when set, open() records the URL here instead of asking the desktop.
    static void setRecorder(QList<QUrl>* opened);
};
