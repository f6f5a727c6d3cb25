#include "exchange/CalibrationSaver.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/FolderNameRules.h"
#include "navigation/cTree.h"
#include "params/CurrentRecords.h"
#include "params/FieldText.h"
#include "params/cTDGrid.h"
#include "platform/Prompts.h"
#include "store/AtomicFileGroup.h"
#include "store/FolderOps.h"
#include "store/MadeFolders.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QFileInfo>

bool SaveCalibration(WorkshopRegister& reg, cTree& tree, cTDGrid& grid, QWidget* window)
{
    const TreeNode selected = tree.SelectedNode();
    grid.RunStorePass();
    const ParamRecord param = CurrentParamRecord();
    const GsmRecord gsm = CurrentGsmRecord();
    const OwnerRecord owner = CurrentOwnerRecord();

    const QString number = RegistrationNumberOf(param);
    RegistrationNumberFault fault = CheckRegistrationNumber(number);
    // The record's field holds at most 13 bytes, so "too long" here means more than 12
    // characters, which the save treats like a missing number.
    if (fault == RegistrationNumberFault::TooLong)
        fault = RegistrationNumberFault::Missing;
    if (fault != RegistrationNumberFault::None) {
        WarnRegistrationNumber(fault, number, window);
        return false;
    }

    const TreeNode workshopNode = cTree::WorkshopNodeOf(selected);
    if (!workshopNode) {
        Prompts::warn(window, Lang(StringId::NothingSelected));
        return false;
    }
    const QString workshopFolder = tree.GetNodeText(workshopNode);
    const QString day = TodayStamp();
    const QString vehicleFolder = ExchangeFolderOf(workshopFolder) + u'/' + number;
    const QString dayFolder = vehicleFolder + u'/' + day;

    // Folders this save makes are taken away again when the save fails, so a failed save
    // leaves no empty day in the tree.
    QStringList madeFolders;
    for (const QString& folder : {vehicleFolder, dayFolder}) {
        const bool existed = QFileInfo(folder).isDir();
        if (!existed)
            CreateFolder(folder);
        if (!QFileInfo(folder).isDir()) {
            Prompts::warn(window, Lang(StringId::FolderCreateFailed).arg(folder) +
                                      RemoveMadeFolders(madeFolders));
            return false;
        }
        if (!existed)
            madeFolders.prepend(folder);
    }

    // The three files of one calibration are replaced together, never a new one beside old
    // ones.
    AtomicFileGroup files;
    files.add(dayFolder + u'/' + kParamFileName, RecordFileContent(param.bytes));
    files.add(dayFolder + u'/' + kGsmFileName, RecordFileContent(gsm.bytes));
    files.add(vehicleFolder + u'/' + kOwnerFileName, RecordFileContent(owner.bytes));
    const AtomicFileGroup::Outcome outcome = files.commit();
    if (!outcome.ok) {
        if (outcome.renamed == 0) {
            Prompts::warn(window,
                          Lang(StringId::FileWriteFailed).arg(files.path(outcome.failedIndex)) +
                              RemoveMadeFolders(madeFolders));
        } else {
            QStringList replaced;
            QStringList old;
            for (qsizetype i = 0; i < files.size(); ++i)
                (i < outcome.renamed ? replaced : old) << files.path(i);
            Prompts::warn(window, Lang(StringId::SavePartlyWritten)
                                      .arg(replaced.join(QStringLiteral(", ")),
                                           old.join(QStringLiteral(", "))));
        }
        return false;
    }

    // The register entry is found before the refresh, which may replace the nodes.
    const auto& entries = reg.entries();
    const WorkshopEntry* entry = FindWorkshopByItem(reg, workshopNode);
    const std::size_t index = entry ? static_cast<std::size_t>(entry - entries.data()) : 0;
    tree.RefreshVehicle(workshopFolder, number);
    // The day just written, in the workshop it was written to: the same number may be filed
    // under another workshop as well.
    if (entry && index < entries.size()) {
        for (const VehicleEntry& vehicle : entries[index].vehicles) {
            if (vehicle.name != number)
                continue;
            for (const DateEntry& date : vehicle.dates) {
                if (date.name == day && date.node)
                    tree.SelectNode(date.node);
            }
            break;
        }
    }
    return true;
}
