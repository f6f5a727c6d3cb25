#include "exchange/CalibrationSaver.h"

#include "exchange/CalibrationStore.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/FolderNameRules.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/RegistrationNumber.h"
#include "params/cTDGrid.h"
#include "platform/BackgroundWork.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/WorkshopRegister.h"

bool SaveCalibration(WorkshopRegister& reg, cTree& tree, cTDGrid& grid, QWidget* window)
{
    const TreeNode selected = tree.SelectedNode();
    grid.RunStorePass();
    Calibration calibration = grid.current().value();

    const QString number = RegistrationNumberOf(calibration.param);
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
    calibration.place = {workshopFolder, number, day};
    // The save waits for the vehicle's lock, which another workstation may hold, off the
    // interface thread.
    StoreOutcome outcome;
    BackgroundWork::Run(window, Lang(StringId::WaitingForSave).arg(number),
                        [&] { outcome = StoreCalibration(calibration); });
    if (!outcome.saved) {
        Prompts::warn(window, outcome.failure);
        return false;
    }
    // The register entry is found before the refresh, which may replace the nodes.
    const auto& entries = reg.entries();
    const WorkshopEntry* entry = tree.WorkshopEntryOf(workshopNode);
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
