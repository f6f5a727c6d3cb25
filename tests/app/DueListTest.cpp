#include "tests/app/MainWindowFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/DisplayDate.h"
#include "navigation/InspectionDue.h"
#include "navigation/VehicleIndex.h"
#include "params/OwnerRecord.h"
#include "params/ValueLists.h"
#include "reports/DueListModel.h"
#include "reports/PdfFileChooser.h"
#include "reports/cDueListDlg.h"

#include <QDateEdit>
#include <QHelpEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QToolTip>

namespace {

QString stamp(QDate day)
{
    return day.toString(QStringLiteral("yyyyMMdd"));
}

void writeOwner(const QString& vehicleFolder, const QString& name, const QString& phone)
{
    OwnerRecord owner;
    EncodeWideText(name, owner.bytes.data() + OwnerRecord::Layout::NameOffset,
                   OwnerRecord::Layout::NameUnits);
    EncodeWideText(phone, owner.bytes.data() + OwnerRecord::Layout::PhoneOffset,
                   OwnerRecord::Layout::PhoneUnits);
    ASSERT_TRUE(WriteRecordFile(vehicleFolder + QStringLiteral("/CINFO.BIN"), owner.bytes));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MainWindowTest, inspectionsDueWindowListsOverdueFirstAndSelectsTheVehicleChosen)
{
    const QDate today = QDate::currentDate();
    QTemporaryDir root;
    const QString north = root.filePath(QStringLiteral("north"));
    const QString south = root.filePath(QStringLiteral("south"));
    const QDate overdueDay = today.addYears(-2).addDays(-10);
    const QDate soonDay = today.addYears(-2).addDays(10);
    writeCalibration(north, QStringLiteral("OLD1"), stamp(overdueDay), 8000);
    writeCalibration(north, QStringLiteral("FRESH"), stamp(today.addYears(-1)), 8000);
    writeCalibration(south, QStringLiteral("SOON2"), stamp(soonDay), 8000);
    writeCalibration(south, QStringLiteral("LATE3"), stamp(today.addDays(-40).addYears(-2)), 8000);
    ASSERT_TRUE(QDir().mkpath(south + QStringLiteral("/RX902/NODATE/misc")));
    writeOwner(north + QStringLiteral("/RX902/OLD1"), QStringLiteral("Иванов, Иван \"Транс\""),
               QStringLiteral("+7 900 000-00-01"));
    {
        // A periodic inspection was the purpose of the soon one's last calibration.
        const QString day = south + QStringLiteral("/RX902/SOON2/") + stamp(soonDay);
        ParamRecord param;
        param.bytes[ParamRecord::Layout::PurposeOffset] = 4;
        ASSERT_TRUE(WriteRecordFile(day + QStringLiteral("/PARAM_UP.BIN"), param.bytes));
    }
    registerWorkshops({north, south});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    // Owner, phone and purpose come from the find index once it has read the workshops.
    QTRY_VERIFY(frame->vehicleIndex()->isCurrent());

    ASSERT_NE(actionFor(frame->toolBar(), CommandId::InspectionsDue), nullptr);
    QAction* open = actionFor(frame->menuBar(), CommandId::InspectionsDue);
    ASSERT_NE(open, nullptr);
    open->trigger();
    cDueListDlg* window = frame->dueList();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->dueBeforeEdit()->date(), today.addDays(30));
    QSignalSpy read(window, &cDueListDlg::detailsRead);
    ASSERT_TRUE(read.wait(5000));

    // Earliest due first: the overdue ones lead; the fresh and the undated are not listed.
    QTableView* view = window->view();
    const QAbstractItemModel* model = view->model();
    const auto cell = [model](int row, int column) {
        return model->index(row, column).data().toString();
    };
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(cell(0, DueListModel::NumberColumn), QStringLiteral("LATE3"));
    EXPECT_EQ(cell(1, DueListModel::NumberColumn), QStringLiteral("OLD1"));
    EXPECT_EQ(cell(1, DueListModel::WorkshopColumn), QStringLiteral("north"));
    EXPECT_EQ(cell(1, DueListModel::OwnerColumn), QStringLiteral("Иванов, Иван \"Транс\""));
    EXPECT_EQ(cell(1, DueListModel::PhoneColumn), QStringLiteral("+7 900 000-00-01"));
    EXPECT_EQ(cell(1, DueListModel::LastCalibrationColumn), DisplayDate(overdueDay));
    EXPECT_EQ(cell(1, DueListModel::DueColumn), DisplayDate(overdueDay.addYears(2)));
    EXPECT_EQ(cell(2, DueListModel::NumberColumn), QStringLiteral("SOON2"));
    EXPECT_EQ(cell(2, DueListModel::PurposeColumn), ValueLabel(QStringLiteral("purpose"), 4));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("dueStatus"))->text(),
              Lang(StringId::DueCount).arg(3).arg(2));

    // Double-click selects the vehicle in the tree, Enter too.
    const QRect soon = view->visualRect(model->index(2, DueListModel::NumberColumn));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, soon.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, soon.center());
    EXPECT_EQ(tree->GetNodePath(), south + QStringLiteral("/RX902/SOON2"));
    view->setCurrentIndex(model->index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(tree->GetNodePath(), north + QStringLiteral("/RX902/OLD1"));
    EXPECT_TRUE(window->isVisible());

    // The vehicle's node tells when its inspection was due.
    const TreeNode node = tree->SelectedNode();
    const QPoint at = tree->visualItemRect(node).center();
    QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree->viewport(), &help);
    EXPECT_EQ(QToolTip::text(),
              Lang(StringId::OverdueTooltip).arg(DisplayDate(overdueDay.addYears(2))));

    // Sorted by number, then saved: RFC 4180 quoting, CR LF, ISO dates.
    view->sortByColumn(DueListModel::NumberColumn, Qt::AscendingOrder);
    EXPECT_EQ(cell(0, DueListModel::NumberColumn), QStringLiteral("LATE3"));
    EXPECT_EQ(cell(1, DueListModel::NumberColumn), QStringLiteral("OLD1"));
    const QString csv = root.filePath(QStringLiteral("due"));
    PdfFileChooser::pushChoice(csv);
    window->findChild<QPushButton*>(QStringLiteral("saveCsv"))->click();
    const QList<QByteArray> lines = readAll(csv + QStringLiteral(".csv")).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines.at(0).endsWith('\r'));
    EXPECT_EQ(lines.at(2), QStringLiteral("north,OLD1,\"Иванов, Иван \"\"Транс\"\"\",+7 900 "
                                          "000-00-01,,%1,%2\r")
                               .arg(overdueDay.toString(Qt::ISODate),
                                    overdueDay.addYears(2).toString(Qt::ISODate))
                               .toUtf8());
    EXPECT_TRUE(lines.at(4).isEmpty());

    const QString pdf = root.filePath(QStringLiteral("due.pdf"));
    PdfFileChooser::pushChoice(pdf);
    window->findChild<QPushButton*>(QStringLiteral("savePdf"))->click();
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());

    // Calibrated today, OLD1 leaves the open list.
    typeKeys(app.grid(), kRowW, QStringLiteral("8000"));
    actionFor(frame->menuBar(), CommandId::SaveCalibration)->trigger();
    EXPECT_EQ(tree->GetNodePath(), north + QStringLiteral("/RX902/OLD1/") + stamp(today));
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(cell(0, DueListModel::NumberColumn), QStringLiteral("LATE3"));
    EXPECT_EQ(cell(1, DueListModel::NumberColumn), QStringLiteral("SOON2"));
}

} // namespace
