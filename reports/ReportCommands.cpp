#include "reports/ReportCommands.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/cTree.h"
#include "params/CurrentRecords.h"
#include "params/cTDGrid.h"
#include "platform/DataFiles.h"
#include "platform/Prompts.h"
#include "reports/CalibrationXml.h"

#include <QStringList>

ReportSubject ReportSubjectOf(ReportKind kind, const cTree& tree)
{
    const TreeNode node = tree.SelectedNode();
    switch (cTree::NodeLevel(node)) {
    case TreeLevel::Vehicle:
        // The grid shows the vehicle's latest day, so the report carries that day's date.
        return {tree.GetNodeText(node), node->childCount() > 0
                                            ? tree.GetNodeText(node->child(node->childCount() - 1))
                                            : QString()};
    case TreeLevel::Day:
        return {node->parent() ? tree.GetNodeText(node->parent()) : QString(),
                tree.GetNodeText(node)};
    default:
        return {kind == ReportKind::Record ? QStringLiteral("unknown") : QString(), {}};
    }
}

QString ReportStylesheetName(ReportKind kind)
{
    return kind == ReportKind::Record ? QStringLiteral("printer_view.xslt")
                                      : QStringLiteral("ticket_view.xslt");
}

std::optional<PreparedReport> PrepareReport(ReportKind kind, const cTree& tree, cTDGrid& grid,
                                            QWidget* window)
{
    grid.RunStorePass();
    CalibrationDocument doc;
    doc.param = CurrentParamRecord();
    doc.gsm = CurrentGsmRecord();
    doc.owner = CurrentOwnerRecord();
    doc.workshop = CurrentWorkshopRecord();

    const ReportSubject subject = ReportSubjectOf(kind, tree);
    if (subject.vehicle.isEmpty())
        return std::nullopt;
    doc.vehicle = subject.vehicle;
    doc.day = subject.day;

    doc.stylesheet = DataFiles::locate(ReportStylesheetName(kind));
    if (doc.stylesheet.isEmpty()) {
        Prompts::warn(window, Lang(StringId::ReportStylesheetMissing)
                                  .arg(DataFiles::folders().join(QStringLiteral(", ")) +
                                       QStringLiteral(": ") + ReportStylesheetName(kind)));
        return std::nullopt;
    }

    PreparedReport report;
    QString why;
    if (!WriteCalibrationXml(doc, DataFiles::locate(QStringLiteral("Ondrix.ico")), &report.xmlPath,
                             &why)) {
        Prompts::warn(window, Lang(StringId::ReportWriteFailed).arg(report.xmlPath, why));
        return std::nullopt;
    }
    QStringList parts{subject.vehicle};
    if (!subject.day.isEmpty())
        parts.append(subject.day);
    const bool record = kind == ReportKind::Record;
    parts.append(Lang(record ? StringId::PdfNameRecord : StringId::PdfNameTicket));
    report.pdfName = parts.join(u'_') + QStringLiteral(".pdf");
    report.vehicle = subject.vehicle;
    return report;
}
