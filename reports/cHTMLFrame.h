#pragma once

#include "reports/ReportCommands.h"

#include <QMainWindow>
#include <QUrl>

class cHTMLView;
class QLabel;
class QToolBar;

// The report window: the rendered page with its menu (317) and toolbar (318) from the
// language pack, to print at once on the report's own printer (named in the status bar),
// preview, save as PDF or close. Closing only hides it; the next report shows it again at its
// last size and place. It never keeps the program running once the main window has closed.
class cHTMLFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit cHTMLFrame(QWidget* parent = nullptr);

    // Reloads the menu and toolbar (the language may have changed) and shows the page of
    // `url`, to be printed on `queue`. `pdfName` is the file name the save command proposes.
    // False, after telling the user why, when the page cannot be made.
    bool Navigate(const QUrl& url, const QString& pdfName, const QString& queue);
    // The document the window shows, named in its title as "<document> — <vehicle> — Velmora".
    void SetSubject(ReportKind kind, const QString& vehicle);
    // Menu, toolbar, printer line, title and page in the language just loaded.
    void Retranslate();
    bool OnCommand(int commandId);

    void OnPrint();
    void OnPreview();
    void OnSavePdf();

    cHTMLView* view() const { return m_view; }
    QToolBar* toolBar() const { return m_toolBar; }
    QString queue() const { return m_queue; }
    QLabel* printerLabel() const { return m_printerLabel; }

    // The folder the save command starts in: Documents, else the home folder.
    static QString PdfFolder();

    static constexpr int kInitialWidth = 750;
    static constexpr int kInitialHeight = 500;

private:
    void OnCreateClient();
    void ReloadMenu();
    void ShowPrinter();
    void ShowTitle();

    cHTMLView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_printerLabel = nullptr;
    QString m_pdfName;
    QString m_queue;
    ReportKind m_kind = ReportKind::Record;
    QString m_vehicle;
};
