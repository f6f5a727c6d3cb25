#include "reports/ReportCommands.h"

#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/cTDGrid.h"
#include "platform/Prompts.h"

ReportSubject ReportSubjectOf(ReportKind kind, const cTree& tree)
{
    const TreeNode node = tree.SelectedNode();
    switch (cTree::NodeLevel(node)) {
    case TreeLevel::Vehicle:
    case TreeLevel::Day: {
        // The grid shows a vehicle's latest day, so the report carries that day's date.
        const CalibrationPlace place = tree.PlaceOf(node);
        return {place.vehicle, place.day};
    }
    default:
        return {kind == ReportKind::Record ? QStringLiteral("unknown") : QString(), {}};
    }
}

std::optional<PreparedReport> PrepareReport(ReportKind kind, const cTree& tree, cTDGrid& grid,
                                            QWidget* window)
{
    grid.RunStorePass();
    QString failure;
    std::optional<PreparedReport> report =
        PrepareReportXml(kind, grid.current().value(), ReportSubjectOf(kind, tree), &failure);
    if (!failure.isEmpty())
        Prompts::warn(window, failure);
    return report;
}
