#include "exchange/CalibrationSaver.h"

#include "exchange/CalibrationWriter.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/FolderNameRules.h"
#include "navigation/LockRefusal.h"
#include "navigation/cTree.h"
#include "params/CurrentRecords.h"
#include "params/FieldText.h"
#include "params/cTDGrid.h"
#include "platform/BackgroundWork.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

namespace {

// One line for each folder the failed save made and could not take away again.
QString FoldersLeftText(const QStringList& folders)
{
    QString left;
    for (const QString& folder : folders)
        left += u'\n' + Lang(StringId::FolderDeleteFailed).arg(folder);
    return left;
}

// The user's words for a save that did not write the whole calibration.
QString FailureText(const CalibrationWriter::Outcome& outcome, const QString& number)
{
    switch (outcome.result) {
    case CalibrationWriter::Result::Locked:
        return LockRefusal::Text(FolderLock::Result::HeldElsewhere, LockRefusal::Scope::Vehicle,
                                 number, outcome.holder, outcome.path);
    case CalibrationWriter::Result::LockFailed:
        return LockRefusal::Text(FolderLock::Result::Failed, LockRefusal::Scope::Vehicle, number,
                                 outcome.holder, outcome.path);
    case CalibrationWriter::Result::FolderFailed:
        return Lang(StringId::FolderCreateFailed).arg(outcome.path) +
               FoldersLeftText(outcome.foldersLeft);
    case CalibrationWriter::Result::WriteFailed:
        return Lang(StringId::FileWriteFailed).arg(outcome.path) +
               FoldersLeftText(outcome.foldersLeft);
    case CalibrationWriter::Result::PartlyWritten:
        return Lang(StringId::SavePartlyWritten)
            .arg(outcome.replaced.join(QStringLiteral(", ")),
                 outcome.old.join(QStringLiteral(", ")));
    case CalibrationWriter::Result::Written:
        break;
    }
    return {};
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

    const TreeNode workshopNode = cTree::WorkshopNodeOf(selected);
    if (!workshopNode) {
        Prompts::warn(window, Lang(StringId::NothingSelected));
        return false;
    }
    const CalibrationWriter::Calibration calibration{tree.GetNodeText(workshopNode),
                                                     number,
                                                     TodayStamp(),
                                                     RecordFileContent(param.bytes),
                                                     RecordFileContent(gsm.bytes),
                                                     RecordFileContent(owner.bytes)};
    const QString& workshopFolder = calibration.workshopFolder;
    const QString& day = calibration.day;
    CalibrationWriter::Outcome outcome;
    BackgroundWork::Run(window, Lang(StringId::WaitingForSave).arg(number),
                        [&] { outcome = CalibrationWriter::Write(calibration); });
    if (outcome.result != CalibrationWriter::Result::Written) {
        Prompts::warn(window, FailureText(outcome, number));
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
