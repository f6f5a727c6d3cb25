#pragma once

#include <QMainWindow>
#include <QUrl>

class cHTMLView;
class QToolBar;

// The report window: the rendered page with its menu (317) and toolbar (318) from the
// language pack, to print at once on the default printer, preview, save as PDF or close.
// Closing only hides it; the next report shows it again at its last size and place.
class cHTMLFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit cHTMLFrame(QWidget* parent = nullptr);

    // Reloads the menu and toolbar (the language may have changed) and shows the page of
    // `url`. `pdfName` is the file name the save command proposes. False, after telling the
    // user why, when the page cannot be made.
    bool Navigate(const QUrl& url, const QString& pdfName);
    bool OnCommand(int commandId);

    void OnPrint();
    void OnPreview();
    void OnSavePdf();

    cHTMLView* view() const { return m_view; }
    QToolBar* toolBar() const { return m_toolBar; }

    static constexpr int kInitialWidth = 750;
    static constexpr int kInitialHeight = 500;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCreateClient();
    void ReloadMenu();

    cHTMLView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QString m_pdfName;
};
