#include "tests/app/MainWindowFixture.h"
#include "tests/support/TreeWaits.h"

#include "navigation/TreeFindField.h"
#include "navigation/VehicleIndex.h"
#include "params/OwnerRecord.h"

namespace {

constexpr int kRowOwnerName = 0;

// A calibration day of `vehicle` whose records give its VIN, owner and phone.
void writeVehicle(const QString& workshop, const QString& vehicle, const QString& day,
                  const QString& vin, const QString& owner, const QString& phone)
{
    writeCalibration(workshop, vehicle, day, 8000);
    const QString vehicleFolder = workshop + QStringLiteral("/RX902/") + vehicle;
    const QString paramPath = vehicleFolder + u'/' + day + QStringLiteral("/PARAM_UP.BIN");
    ParamRecord param;
    ASSERT_TRUE(ReadRecordFile(paramPath, param.bytes));
    ASSERT_TRUE(EncodeUtf8Text(vin, param.bytes.data() + ParamRecord::Layout::VinOffset,
                               ParamRecord::Layout::VinWidth));
    ASSERT_TRUE(WriteRecordFile(paramPath, param.bytes));
    OwnerRecord record;
    EncodeWideText(owner, record.bytes.data() + OwnerRecord::Layout::NameOffset,
                   OwnerRecord::Layout::NameUnits);
    EncodeWideText(phone, record.bytes.data() + OwnerRecord::Layout::PhoneOffset,
                   OwnerRecord::Layout::PhoneUnits);
    ASSERT_TRUE(WriteRecordFile(vehicleFolder + QStringLiteral("/CINFO.BIN"), record.bytes));
}

// The vehicle nodes the tree shows, "workshop folder name/vehicle", in tree order.
QStringList shownVehicles(const cTree* tree)
{
    QStringList shown;
    for (int w = 0; w < tree->topLevelItemCount(); ++w) {
        const QTreeWidgetItem* workshop = tree->topLevelItem(w);
        for (int v = 0; v < workshop->childCount(); ++v) {
            if (!workshop->isHidden() && !workshop->child(v)->isHidden())
                shown << workshop->text(0) + u'/' + workshop->child(v)->text(0);
        }
    }
    return shown;
}

bool waitForIndex(const CMainFrame* frame)
{
    return QTest::qWaitFor([frame] { return frame->vehicleIndex()->isCurrent(); }, 10000);
}

// The program started and shown, once its index has read every vehicle; null when it did not
// start or the index did not finish.
CMainFrame* startIndexed(CVelmoraApp& app)
{
    CMainFrame* frame = startShown(app);
    return frame && waitForIndex(frame) ? frame : nullptr;
}

TEST_F(MainWindowTest, ctrlFNarrowsTheTreeAsTypedEnterSelectsAndEscapeGivesTheTreeBack)
{
    QTemporaryDir root;
    const QString north = root.filePath(QStringLiteral("north"));
    const QString south = root.filePath(QStringLiteral("south"));
    // The VIN of the older day is not the vehicle's any more.
    writeVehicle(north, QStringLiteral("Т555ХК161"), QStringLiteral("20230101"),
                 QStringLiteral("OLDVIN00000000001"), QStringLiteral("Petrov"), QString());
    writeVehicle(north, QStringLiteral("Т555ХК161"), QStringLiteral("20250101"),
                 QStringLiteral("XTA21099043512345"), QStringLiteral("Petrov"),
                 QStringLiteral("+7 (863) 201-45-67"));
    writeVehicle(north, QStringLiteral("A100AA77"), QStringLiteral("20250202"),
                 QStringLiteral("WDB00000000000777"), QStringLiteral("Sidorov"),
                 QStringLiteral("8 495 111-22-33"));
    writeVehicle(south, QStringLiteral("B200BB99"), QStringLiteral("20250303"),
                 QStringLiteral("VF100000000000999"), QStringLiteral("Petrova"), QString());
    registerWorkshops({north, south});
    CVelmoraApp app;
    CMainFrame* frame = startIndexed(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    TreeFindField* field = frame->findField();
    // A workshop the user closed is opened while it holds what is found, and closed again.
    tree->topLevelItem(1)->setExpanded(false);
    tree->SelectNode(tree->topLevelItem(0)->child(0));
    EXPECT_TRUE(WaitForTree(*tree));
    const QStringList all = shownVehicles(tree);
    ASSERT_EQ(all.size(), 3);

    QTest::keyClick(frame, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), field);

    const struct {
        const char16_t* typed;
        QStringList shown;
    } steps[] = {
        {u"t555", {QStringLiteral("north/Т555ХК161")}},
        {u"043512", {QStringLiteral("north/Т555ХК161")}},
        {u"OLDVIN", {}},
        {u"petrov", {QStringLiteral("north/Т555ХК161"), QStringLiteral("south/B200BB99")}},
        {u"111-22", {QStringLiteral("north/A100AA77")}},
    };
    for (const auto& step : steps) {
        field->clear();
        QTest::keyClicks(field, QString::fromUtf16(step.typed));
        EXPECT_EQ(shownVehicles(tree), step.shown) << QString::fromUtf16(step.typed).toStdString();
    }

    // Enter selects the first vehicle found, which loads its latest calibration.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("b200"));
    EXPECT_TRUE(tree->topLevelItem(0)->isHidden());
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(tree->GetNodePath(), south + QStringLiteral("/RX902/B200BB99"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora [B200BB99][*]"));

    // Escape: every vehicle again, the selection kept and in view.
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(shownVehicles(tree), all);
    EXPECT_EQ(tree->GetNodePath(), south + QStringLiteral("/RX902/B200BB99"));
    EXPECT_TRUE(tree->topLevelItem(1)->isExpanded());
    EXPECT_EQ(QApplication::focusWidget(), tree);

    // Down moves into the results, the first one current. A workshop the user closed is
    // open while it holds what is found, and closed again when the field is emptied.
    tree->topLevelItem(1)->setExpanded(false);
    QTest::keyClick(frame, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("00"));
    EXPECT_EQ(shownVehicles(tree),
              QStringList({QStringLiteral("north/A100AA77"), QStringLiteral("south/B200BB99")}));
    EXPECT_TRUE(tree->topLevelItem(1)->isExpanded());
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), tree);
    EXPECT_EQ(tree->GetNodeText(), QStringLiteral("A100AA77"));
    QTest::keyClick(frame, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(shownVehicles(tree), all);
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());
    EXPECT_EQ(tree->GetNodeText(), QStringLiteral("A100AA77"));
}

// Points HOME and XDG_DATA_HOME at a folder of the test's own while it lives, so a deletion
// goes to a trash of its own, never the user's.
class OwnTrash {
public:
    OwnTrash() : m_home(qgetenv("HOME")), m_dataHome(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("HOME", m_folder.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_folder.filePath(QStringLiteral("data")).toUtf8());
    }
    ~OwnTrash()
    {
        qputenv("HOME", m_home);
        qputenv("XDG_DATA_HOME", m_dataHome);
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_home, m_dataHome;
};

TEST_F(MainWindowTest, findFollowsASaveADeletionAndARefresh)
{
    const OwnTrash trash;
    QTemporaryDir root;
    const QString workshop = root.filePath(QStringLiteral("w"));
    writeVehicle(workshop, QStringLiteral("K700KK10"), QStringLiteral("20250101"),
                 QStringLiteral("X0000000000000001"), QStringLiteral("Old Owner"), QString());
    writeVehicle(workshop, QStringLiteral("M800MM10"), QStringLiteral("20240101"),
                 QStringLiteral("FIRST000000000002"), QStringLiteral("Other"), QString());
    writeVehicle(workshop, QStringLiteral("M800MM10"), QStringLiteral("20250101"),
                 QStringLiteral("LATER000000000002"), QStringLiteral("Other"), QString());
    registerWorkshops({workshop});
    CVelmoraApp app;
    CMainFrame* frame = startIndexed(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    TreeFindField* field = frame->findField();
    const QStringList k700{QStringLiteral("w/K700KK10")};
    const QStringList m800{QStringLiteral("w/M800MM10")};

    // A filter left open follows the save: the new owner's name finds the vehicle as soon as
    // the index has read it.
    QTest::keyClicks(field, QStringLiteral("Newman"));
    EXPECT_TRUE(shownVehicles(tree).isEmpty());
    tree->SelectNode(tree->topLevelItem(0)->child(0)->child(0));
    EXPECT_TRUE(WaitForTree(*tree));
    typeKeys(app.grid(), kRowOwnerName, QStringLiteral("Newman"));
    actionFor(frame->menuBar(), CommandId::SaveCalibration)->trigger();
    ASSERT_TRUE(waitForIndex(frame));
    EXPECT_EQ(shownVehicles(tree), k700);

    // Deleting the latest day makes the day before it the latest, with its VIN.
    const auto shownFor = [&](const QString& typed) {
        field->clear();
        QTest::keyClicks(field, typed);
        return shownVehicles(tree);
    };
    EXPECT_EQ(shownFor(QStringLiteral("LATER0")), m800);
    EXPECT_TRUE(shownFor(QStringLiteral("FIRST0")).isEmpty());
    tree->SelectNode(tree->topLevelItem(0)->child(1)->child(1));
    EXPECT_TRUE(WaitForTree(*tree));
    Prompts::pushAnswer(Prompts::Answer::Yes);
    actionFor(frame->menuBar(), CommandId::DeleteNode)->trigger();
    ASSERT_TRUE(waitForIndex(frame));
    EXPECT_EQ(shownVehicles(tree), m800);
    EXPECT_TRUE(shownFor(QStringLiteral("LATER0")).isEmpty());

    // A vehicle deleted outside the program is forgotten by the refresh.
    QTest::keyClick(field, Qt::Key_Escape);
    ASSERT_TRUE(QDir(workshop + QStringLiteral("/RX902/M800MM10")).removeRecursively());
    actionFor(frame->menuBar(), CommandId::Refresh)->trigger();
    ASSERT_TRUE(WaitForTree(*tree));
    ASSERT_TRUE(waitForIndex(frame));
    EXPECT_EQ(frame->vehicleIndex()->keysOf(workshop, QStringLiteral("M800MM10")), nullptr);
    EXPECT_NE(frame->vehicleIndex()->keysOf(workshop, QStringLiteral("K700KK10")), nullptr);
}

} // namespace
