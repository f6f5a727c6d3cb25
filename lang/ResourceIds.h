#pragma once

// Ids of the menus, toolbars and dialog templates of a language pack, and the command ids
// that their entries carry.
namespace ResourceId {
constexpr int MainMenu = 128;
constexpr int TreeContextMenu = 315;
constexpr int ReportMenu = 317;
constexpr int MainToolBar = 322;
constexpr int ReportToolBar = 318;
} // namespace ResourceId

namespace DialogId {
constexpr int About = 100;
constexpr int WorkshopList = 311;
constexpr int CreateWorkshop = 312;
constexpr int Transfer = 313;
constexpr int PrinterSettings = 314;
constexpr int WorkshopDetails = 316;
constexpr int NewVehicle = 324;
} // namespace DialogId

namespace CommandId {
constexpr int LanguageEnglish = 32771;
constexpr int LanguageRussian = 32772;
constexpr int WorkshopList = 32773;
constexpr int SaveCalibration = 32774;
constexpr int PrintRecord = 32778;
constexpr int PrintTicket = 32779;
constexpr int OpenHelp = 32781;
constexpr int DeleteNode = 32782;
constexpr int Export = 32783;
constexpr int Import = 32784;
constexpr int PrinterSettings = 32785;
constexpr int NewWorkshop = 32797;
constexpr int NewVehicle = 32798;
constexpr int Refresh = 32800;  // reads the workshops again from disk
constexpr int AppAbout = 57664; // 0xE140
constexpr int AppExit = 57665;  // 0xE141

// The find field above the tree, and a vehicle's calibration history.
constexpr int Find = 32810;
constexpr int CalibrationHistory = 32811;
// The list of inspections due.
constexpr int InspectionsDue = 32812;

// Report window.
constexpr int ReportPrint = 32786;
constexpr int ReportPreview = 32787;
constexpr int ReportClose = 32793;
constexpr int ReportSavePdf = 32799;
} // namespace CommandId
