#pragma once

#include "reports/PrinterSettings.h"
#include "reports/ReportPreparation.h"

#include <QString>

class CurrentCalibration;
class WorkshopRegister;
class cTDGrid;
class cTree;

// What the main window asks of the application that owns it: the process-wide state and the
// commands that reach beyond the window. The application implements it, so the window needs
// nothing else of the application's.
class MainWindowHost {
public:
    virtual WorkshopRegister& workshopRegister() = 0;
    virtual CurrentCalibration& currentCalibration() = 0;
    // The window hands over its views when it has made them.
    virtual void setViews(cTree* tree, cTDGrid* grid) = 0;
    virtual void setPrinterSettings(const PrinterSettings& settings) = 0;
    // Loads another language pack; false when it could not be loaded (the previous one stays).
    virtual bool SwitchLanguage(const QString& name) = 0;
    virtual void ShowReport(ReportKind kind, const PreparedReport& report) = 0;
    virtual void OnAppAbout() = 0;

protected:
    ~MainWindowHost() = default;
};
