#pragma once

#include "app/MainWindowHost.h"
#include "params/CurrentCalibration.h"
#include "reports/PrinterSettings.h"
#include "reports/ReportCommands.h"
#include "store/WorkshopRegister.h"

#include <QObject>
#include <QString>
#include <QTranslator>
#include <QUrl>

#include <memory>

class CMainFrame;
class cHTMLFrame;
class cTree;
class cTDGrid;

// The process-wide state of Velmora: the workshop register, the loaded language pack, the
// start folder, and the one main window with its tree and parameter grid.
class CVelmoraApp : public QObject, public MainWindowHost {
    Q_OBJECT
public:
    CVelmoraApp();
    ~CVelmoraApp() override;

    static CVelmoraApp* instance();

    // Start-up: start folder, language pack (the one chosen last, else the desktop's),
    // register, main window. False when
    // the program cannot run (the user has been told why).
    bool InitInstance();
    int ExitInstance();

    void LoadRegister();
    bool SaveRegister();
    VehicleEntry* FindVehicleByName(const QString& name);

    // Unloads the current pack and loads `name`; when that fails the previous pack is
    // loaded again and false is returned.
    bool SwitchLanguage(const QString& name) override;

    void OnAppAbout() override;

    WorkshopRegister& workshopRegister() override { return m_register; }
    // The calibration on screen, shown by the grid and loaded by the tree.
    CurrentCalibration& currentCalibration() override { return m_current; }
    QString startFolder() const { return m_startFolder; }
    CMainFrame* mainWindow() const { return m_mainWindow.get(); }
    cTree* tree() const { return m_tree; }
    cTDGrid* grid() const { return m_grid; }

    // The main frame hands over its views when it has made them.
    void setViews(cTree* tree, cTDGrid* grid) override;

    // The printer choice of printer.txt.
    void LoadPrinterSettings();
    const PrinterSettings& printerSettings() const { return m_printerSettings; }
    void setPrinterSettings(const PrinterSettings& settings) override
    {
        m_printerSettings = settings;
    }

    // Shows the report window with the report's page, to be printed on the report's own
    // printer (the desktop's default printer is left alone).
    void ShowReport(ReportKind kind, const PreparedReport& report) override;
    // Creates the report window on first use, shows it and navigates it to `url`.
    void ShowPreview(const QUrl& url, const QString& pdfName, const QString& queue);
    static QUrl MakeFileUrl(const QString& path);
    cHTMLFrame* reportWindow() const { return m_reportWindow.get(); }

private:
    void applyLanguage();

    WorkshopRegister m_register;
    CurrentCalibration m_current;
    QTranslator m_qtTranslator;
    QString m_startFolder;
    std::unique_ptr<CMainFrame> m_mainWindow;
    cTree* m_tree = nullptr;
    cTDGrid* m_grid = nullptr;
    PrinterSettings m_printerSettings;
    std::unique_ptr<cHTMLFrame> m_reportWindow;
};
