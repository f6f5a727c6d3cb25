#pragma once

// Ids of the string table of a language pack. Both packs define every id listed here;
// the ids are part of the packs' format and never change meaning.
namespace StringId {

// Messages.
constexpr int ComponentRuntimeFailed = 100; // never shown on Linux, kept for completeness
constexpr int RegistrationNumberMissing = 104;
constexpr int DeleteQuestion = 182; // shown as "%1 '%2' ?" with the node's text
constexpr int ExportCaption = 183;
constexpr int ImportCaption = 184;

// Labels of the parameter grid's rows.
constexpr int OwnerName = 185;
constexpr int OwnerAddress = 186;
constexpr int OwnerPhone = 187;
constexpr int VehicleModel = 188;
constexpr int SerialNumber = 126;
constexpr int Purpose = 107;
constexpr int Vin = 108;
constexpr int Nation = 109;
constexpr int RegistrationNumber = 110;
constexpr int ConstantW = 111;
constexpr int ConstantK = 112;
constexpr int TyreCircumference = 113;
constexpr int TyreSize = 114;
constexpr int MaxSpeed = 115;
constexpr int Odometer = 116;
constexpr int Imei = 124;
constexpr int Apn = 117;
constexpr int Login = 118;
constexpr int Password = 119;
constexpr int Host = 120;
constexpr int Port = 121;
constexpr int Protocol = 122;
constexpr int Period = 127;

// Nation labels, in the order of the nation list: 101, 102, 103, 105, 106, then 129 to 178
// (nation codes 1 to 52, 253, 254, 255).
constexpr int NationFirstLow = 101;
constexpr int NationLastLow = 106; // 104 is the registration message, not a nation
constexpr int NationFirstHigh = 129;
constexpr int NationLastHigh = 178;
constexpr int NationCount = 55;

// Calibration purpose labels.
constexpr int PurposeFirstInstallation = 179;
constexpr int PurposeActivation = 180;
constexpr int PurposePeriodicInspection = 181;

// Status bar indicators.
constexpr int IndicatorCaps = 59137;
constexpr int IndicatorNum = 59138;
constexpr int IndicatorScroll = 59139;

// Texts of the program beyond the table above.
constexpr int PackLoadFailed = 200;     // %1: pack name
constexpr int RegisterSaveFailed = 201; // %1: register file path
constexpr int NothingSelected = 202;
constexpr int FileWriteFailed = 203; // %1: file path
constexpr int BadFolderName = 204;   // %1: registration number
constexpr int RegistrationTooLong = 205;
constexpr int LocationMissing = 206;
constexpr int FolderCreateFailed = 207;  // %1: folder path
constexpr int WorkshopWriteFailed = 208; // %1: file path
constexpr int Ready = 209;
constexpr int AboutText = 210;     // %1: version
constexpr int InvalidNumber = 211; // %1: the text
constexpr int ValueTooLarge = 212; // %1: the maximum
constexpr int TextTooLong = 213;   // %1: the maximum in bytes
constexpr int MainTitle = 214;     // "Velmora" in every pack
constexpr int VersionLabel = 215;  // %1: version
constexpr int PathTooLong = 216;   // %1: the path
constexpr int NoRemovableDrive = 217;

// Button texts: Qt's own translations are not installed with the program.
constexpr int ButtonOk = 218;
constexpr int ButtonCancel = 219;
constexpr int ButtonClose = 220;
constexpr int ButtonYes = 221;
constexpr int ButtonNo = 222;

constexpr int EnterRegistrationNumber = 223;
constexpr int PathHasControlCharacters = 224; // %1: folder path
constexpr int FolderDeleteFailed = 225;       // %1: folder path
constexpr int TextTooLongChars = 226;         // %1: the maximum in characters
constexpr int RegisterUnreadable = 227;       // %1: register file, %2: why
constexpr int NotInList = 228;                // %1: the text
constexpr int ZeroCharacter = 229;
constexpr int RecordUnreadable = 230;  // %1: file path
constexpr int SavePartlyWritten = 231; // %1: new files, %2: old files
constexpr int NoCodePageHolds = 232;   // %1: registration number
constexpr int RegisterNotAFile = 233;
constexpr int RegisterTooLarge = 234;
constexpr int RegisterCannotOpen = 235;

// Transfer to and from the removable drive.
constexpr int TransferExported = 240;         // %1: calibrations, %2: drive's exchange folder
constexpr int TransferImported = 241;         // %1: files, %2: drive's exchange folder
constexpr int TransferNoExchangeFolder = 242; // %1: drive's exchange folder
constexpr int TransferStopped = 243;          // %1: done, %2: in all
constexpr int TransferSomeNotWritten = 244;
constexpr int TransferFoldersNotCreated = 245; // %1: folder paths, one a line
constexpr int TransferFilesNotRead = 246;      // %1: file paths
constexpr int TransferFilesNotWritten = 247;   // %1: file paths
constexpr int TransferSkipped = 248;           // %1: paths
constexpr int TransferNamesNotOnDrive = 249;   // %1: registration numbers
constexpr int TransferFilesTooLarge = 250;     // %1: limit in MiB, %2: file paths
constexpr int TransferNotFlushed = 251;        // %1: drive's exchange folder
constexpr int TransferOverlap = 252;           // %1: drive's folder, %2: workshop's folder
constexpr int TransferMore = 253;              // %1: how many more
constexpr int ExportProgress = 254;            // %1: drive's exchange folder
constexpr int ImportProgress = 255;            // %1: drive's exchange folder

// Damaged record files, and more of the transfer.
constexpr int RecordFaultMissing = 340;
constexpr int RecordFaultUnreadable = 341;
constexpr int RecordFaultShort = 342;
constexpr int RecordFaultLong = 343;
constexpr int RecordFaultBadSum = 344;
constexpr int RecordDamaged = 345;                // %1: file path, %2: its fault
constexpr int TransferRecordsRefused = 346;       // %1: drive's files with their faults
constexpr int TransferCalibrationsRefused = 347;  // %1: stored files with their faults
constexpr int TransferNamesNotDecodable = 348;    // %1: paths
constexpr int TransferNamesDifferInCase = 349;    // %1: registration numbers
constexpr int TransferReplaceDetails = 350;       // %1: the workshop's files, one a line
constexpr int TransferOlderFilesRemoved = 351;    // %1: file paths with reasons
constexpr int TransferOlderFilesKept = 352;       // %1: file paths with reasons
constexpr int TransferExportedWithFailures = 353; // %1: written, %2: exchange folder, %3: failed
constexpr int TransferImportedWithFailures = 354; // %1: taken, %2: exchange folder, %3: failed
constexpr int TransferSourceNotFolder = 355;      // %1: drive's exchange folder
constexpr int TransferNothingWritten = 356;
constexpr int TransferSomeNotTaken = 357;
constexpr int TransferNothingTaken = 358;
constexpr int TransferRecordsRefusedOnly = 359;
constexpr int TransferSkippedOnly = 360;
constexpr int TransferNotConfirmed = 361;
constexpr int TransferFullListInDetails = 362;

// Reports.
constexpr int ReportWriteFailed = 260;         // %1: XML file path, %2: the system's reason
constexpr int ReportDocumentBroken = 261;      // %1: XML file path, %2: parser's words
constexpr int ReportDocumentTypeRefused = 262; // %1: file path
constexpr int ReportNoStylesheet = 263;        // %1: XML file path
constexpr int ReportStylesheetMissing = 264;   // %1: stylesheet path
constexpr int ReportStylesheetBroken = 265;    // %1: stylesheet path, %2: parser's words
constexpr int ReportSandboxRefused = 266;      // %1: stylesheet path, %2: what it reached for
constexpr int ReportTransformFailed = 267;     // %1: XML path, %2: stylesheet, %3: words
constexpr int PrintRefused = 268;              // %1: printer, %2: CUPS's words
constexpr int NoDefaultPrinter = 269;
constexpr int PrinterGone = 270;                // %1: printer, %2: the printer used instead
constexpr int PrinterSettingsWriteFailed = 271; // %1: printer.txt path
constexpr int SavePdfCaption = 272;
constexpr int PdfFileFilter = 273;
constexpr int PdfWriteFailed = 274;     // %1: PDF file path, %2: the system's reason
constexpr int PrintSent = 275;          // %1: printer
constexpr int PdfSaved = 276;           // %1: PDF file path
constexpr int ReportPrinterLabel = 277; // %1: printer
constexpr int NoPrintersFound = 278;
constexpr int NoPrinterShort = 279;
constexpr int PrinterNotInstalled = 280; // %1: printer

// Command line.
constexpr int CommandLineDescription = 290;

// Dates and deleting.
constexpr int DateFormat = 291;               // QDate format of dates shown to the user
constexpr int DeleteVehicleToTrash = 292;     // %1: vehicle, %2: calibrations, %3: folder
constexpr int DeleteVehiclePermanently = 293; // %1: vehicle, %2: calibrations, %3: folder
constexpr int DeleteDayToTrash = 294;         // %1: date, %2: vehicle, %3: folder
constexpr int DeleteDayPermanently = 295;     // %1: date, %2: vehicle, %3: folder
constexpr int TrashFailed = 296;              // %1: folder

// Window titles and file names.
constexpr int FolderChooserTitle = 297;
constexpr int ReportTitleRecord = 298; // document name in the report window's title
constexpr int ReportTitleTicket = 299;
constexpr int PdfNameRecord = 324; // word in a proposed PDF file name
constexpr int PdfNameTicket = 325;

// Changes on screen that are not saved yet.
constexpr int ButtonSave = 330;
constexpr int ButtonDiscard = 331;
constexpr int UnsavedChangesQuestion = 332;
constexpr int UnsavedBeforePrint = 333;
constexpr int ButtonSaveAndPrint = 334;
constexpr int CalibrationSaved = 335;   // %1: registration number, %2: date
constexpr int SelectCalibration = 336;  // printing after the calibration on screen went
constexpr int PdfReplaceQuestion = 337; // %1: PDF file path

// Finding vehicles and a vehicle's calibration history.
constexpr int FindPlaceholder = 450;
constexpr int FindToolTip = 451;
constexpr int HistoryTitle = 452;         // %1: vehicle
constexpr int HistorySelectVehicle = 453; // the command without a vehicle or day selected
constexpr int HistoryReading = 454;
constexpr int HistoryEmpty = 455;
constexpr int HistoryRecordFault = 456; // %1: record file, %2: what is wrong with it
constexpr int HistoryChanged = 457;     // %1: the value of the calibration before
constexpr int HistoryColumnDate = 458;
constexpr int HistoryColumnPurpose = 459;
constexpr int HistoryColumnW = 460;
constexpr int HistoryColumnK = 461;
constexpr int HistoryColumnL = 462;
constexpr int HistoryColumnTyreSize = 463;
constexpr int HistoryColumnOdometer = 464;
constexpr int HistoryColumnSpeed = 465;
// Several workstations on one workshop folder.
constexpr int VehicleLockedElsewhere = 500;   // %1: vehicle, %2: workstation
constexpr int UnknownWorkstation = 501;       // stands for %2 above when the lock names none
constexpr int LockFileFailed = 502;           // %1: lock file
constexpr int WaitingForSave = 503;           // %1: vehicle
constexpr int WorkshopLockedElsewhere = 504;  // %1: workshop folder, %2: workstation
constexpr int ChangedElsewhereQuestion = 505; // %1: vehicle, %2: date
constexpr int ButtonKeepMine = 506;
constexpr int ButtonLoadTheirs = 507;
constexpr int DayDeletedElsewhere = 508;  // %1: vehicle, %2: date
constexpr int WaitingForNewVehicle = 509; // %1: vehicle
constexpr int WaitingForDelete = 510;     // %1: folder
constexpr int WaitingForFolder = 511;
constexpr int ReadingWorkshop = 512;
constexpr int WorkshopUnreachable = 513;     // %1: reason
constexpr int NoAnswerWithin = 514;          // %1: seconds
constexpr int VehicleDeletedElsewhere = 515; // %1: vehicle
// Plausibility hints of the grid's values.
constexpr int HintConstantW = 400;
constexpr int HintConstantK = 401;
constexpr int HintKAwayFromW = 402;
constexpr int HintTyreCircumference = 403;
constexpr int HintMaxSpeed = 404;
constexpr int HintVin = 405;
constexpr int HintImei = 406;
constexpr int SavedWithUnusualValues = 407; // %1: how many, %2: their labels

// The list of inspections due.
constexpr int DueTitle = 410;
constexpr int DueBeforeLabel = 411;
constexpr int DueColumnWorkshop = 412;
constexpr int DueColumnNumber = 413;
constexpr int DueColumnOwner = 414;
constexpr int DueColumnPhone = 415;
constexpr int DueColumnPurpose = 416;
constexpr int DueColumnLastCalibration = 417;
constexpr int DueColumnDueDate = 418;
constexpr int DueSaveCsvButton = 419;
constexpr int DueSavePdfButton = 420;
constexpr int CsvFileFilter = 421;
constexpr int DueReading = 422;
constexpr int DueCount = 423;         // %1: vehicles listed, %2: of them overdue
constexpr int DueTooltip = 424;       // %1: due date
constexpr int OverdueTooltip = 425;   // %1: due date
constexpr int DueFileName = 426;      // proposed name of the saved list
constexpr int DueDocumentTitle = 427; // %1: the chosen date
constexpr int SaveCsvCaption = 428;
constexpr int DueOverdue = 429;

} // namespace StringId
