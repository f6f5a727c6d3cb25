#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;

// The create-workshop dialog (template 312): the user chooses a location and types the new
// folder's name; OK makes the folder with its exchange folder and returns its path.
class cCreateClientDlg : public QDialog {
    Q_OBJECT
public:
    // The longest workshop path the program accepts.
    static constexpr int kMaxPathChars = 259;

    explicit cCreateClientDlg(QWidget* parent = nullptr);

    // The new workshop's folder, set when the dialog ends with OK.
    const QString& WorkshopPath() const { return m_workshopPath; }
    // The folders OK made, deepest first: the caller removes them when the workshop is not
    // registered after all.
    const QStringList& MadeFolders() const { return m_madeFolders; }
    const QString& Location() const { return m_location; }

    // Button 1005: choose the location with the folder chooser.
    void OnBrowse();
    // OK: refuses a missing location, a name that is not one folder level and a path that is
    // too long, each with a message, and keeps the dialog open; otherwise creates the folder
    // and its "RX902" folder (existing ones are fine) and closes.
    void accept() override;

private:
    QString m_workshopPath;
    QString m_location;
    QStringList m_madeFolders;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_locationView = nullptr;
};
