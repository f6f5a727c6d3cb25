#pragma once

#include "reports/ReportCommands.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

class MainWindowHost;
class cTree;
class cListParent;
class cDueListDlg;
class LockIndicators;
class TreeFindField;
class VehicleIndex;
class QSplitter;
class QToolBar;

// The main window: menu bar, toolbar, status bar, and the splitter with the navigation tree
// on the left and the parameter grid on the right. Every command of the menus, the toolbar
// and the tree's context menu arrives in OnCommand and is routed through the command table.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(MainWindowHost& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The views' first update: the tree is built, the grid set up.
    void OnInitialUpdate();

    // Runs the command's handler; false when the id is not in the command table.
    bool OnCommand(int commandId);
    static QList<int> commandIds();

    void ReloadMenu();

    cTree* tree() const { return m_tree; }
    cListParent* gridHost() const { return m_gridHost; }
    TreeFindField* findField() const { return m_findField; }
    VehicleIndex* vehicleIndex() const { return m_index; }
    // The inspections-due window once it has been opened; null before.
    cDueListDlg* dueList() const;
    QSplitter* splitter() const { return m_splitter; }
    QToolBar* toolBar() const { return m_toolBar; }

    void saveWindowState() const;

    static constexpr int kInitialTreeWidth = 200;
    // How long the status bar shows why an edit was refused.
    static constexpr int kRefusalShownMs = 5000;

    void OnLanguageEnglish();
    void OnLanguageRussian();
    void OnWorkshopList();
    void OnSaveCalibration();
    void OnPrintRecord();
    void OnPrintTicket();
    void OnOpenHelp();
    void OnDeleteNode();
    void OnExport();
    void OnImport();
    void OnPrinterSettings();
    void OnNewWorkshop();
    void OnNewVehicle();
    void OnRefresh();
    void OnFind();
    void OnCalibrationHistory();
    void OnInspectionsDue();
    void OnAppAbout();
    void OnAppExit();

    // Whether the values on screen may be replaced or left: true when nothing was changed,
    // or the user saved or discarded the changes; false when the user cancelled or the save
    // failed. `saved` is set when the changes were saved.
    bool MayLeaveEdits(bool* saved = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The save command's work; true when the calibration was written.
    bool SaveOnScreen();
    void PrintReport(ReportKind kind);
    void OnCreate();
    void OnCreateClient();
    // The find field and the index it searches, kept in step with the tree.
    QWidget* CreateTreePane();
    void ReloadToolBar();
    void SwitchLanguage(const QString& packName);
    void restoreWindowState();
    // Reads the workshops' details and folders again, for what other workstations changed.
    void RereadWorkshops();
    // Whether the window is idle enough to re-read on its activation: no command, modal
    // dialog, file work or open cell editor under way.
    bool MayRereadNow() const;
    // Asked before a save when the calibration on screen, edited here, was saved over on
    // another workstation; true to go on writing the values on screen.
    bool KeepMineOverTheirs();

    MainWindowHost& m_app;
    QSplitter* m_splitter = nullptr;
    QToolBar* m_toolBar = nullptr;
    LockIndicators* m_indicators = nullptr;
    cTree* m_tree = nullptr;
    cListParent* m_gridHost = nullptr;
    VehicleIndex* m_index = nullptr;
    TreeFindField* m_findField = nullptr;
    int m_commandDepth = 0;
    QPointer<cDueListDlg> m_dueList;
    // Whether another window was active since this one was shown.
    bool m_wasLeft = false;
};
