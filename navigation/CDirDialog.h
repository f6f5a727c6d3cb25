#pragma once

#include <QString>

class QWidget;

// The folder chooser of the workshop dialogs: the desktop's own folder dialog, browsing the
// whole file system with the prompt "Open" and nothing preselected.
class CDirDialog {
public:
    // Runs the chooser over `owner`; 1 when the user chose an existing folder, whose path is
    // then ChosenPath(), and 0 otherwise (cancelled, or the choice is not a folder).
    int DoBrowse(QWidget* owner);

    const QString& ChosenPath() const { return m_path; }

private:
    QString m_path;
};
