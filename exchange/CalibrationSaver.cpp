#include "exchange/CalibrationSaver.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/FolderNameRules.h"
#include "navigation/ReportedFileOps.h"
#include "navigation/cTree.h"
#include "params/CurrentRecords.h"
#include "params/FieldText.h"
#include "params/cTDGrid.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/WorkshopRegister.h"

namespace {

// The workshop node that owns `node`: itself, its parent or its grandparent by level.
TreeNode WorkshopNodeOf(TreeNode node)
{
    switch (cTree::NodeLevel(node)) {
    case TreeLevel::Workshop:
        return node;
    case TreeLevel::Vehicle:
        return node->parent();
    case TreeLevel::Day:
        return node->parent() ? node->parent()->parent() : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

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

    const TreeNode workshopNode = WorkshopNodeOf(selected);
    if (!workshopNode) {
        Prompts::warn(window, Lang(StringId::NothingSelected));
        return false;
    }
    const QString workshopFolder = tree.GetNodeText(workshopNode);
    const QString day = TodayStamp();
    const QString vehicleFolder = ExchangeFolderOf(workshopFolder) + u'/' + number;
    const QString dayFolder = vehicleFolder + u'/' + day;

    if (!CreateFolderOrWarn(vehicleFolder, window) || !CreateFolderOrWarn(dayFolder, window))
        return false;
    if (!WriteRecordOrWarn(dayFolder + u'/' + kParamFileName, param.bytes, window) ||
        !WriteRecordOrWarn(dayFolder + u'/' + kGsmFileName, gsm.bytes, window) ||
        !WriteRecordOrWarn(vehicleFolder + u'/' + kOwnerFileName, owner.bytes, window))
        return false;

    tree.Rebuild();
    // The first vehicle of that number in the register, which need not be the one just
    // written when two workshops know the number.
    if (const VehicleEntry* vehicle = reg.findVehicleByName(number)) {
        for (const DateEntry& date : vehicle->dates) {
            if (date.name == day) {
                if (date.node)
                    tree.SelectNode(date.node);
                break;
            }
        }
    }
    return true;
}
