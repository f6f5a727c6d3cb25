#include "tests/exchange/WorkshopFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/cNewCarDlg.h"
#include "platform/ModalRunner.h"
#include "store/FolderOps.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

class NewVehicleTest : public WorkshopFixture {
protected:
    void SetUp() override
    {
        WorkshopFixture::SetUp();
        m_first = MakeWorkshopFolder(QStringLiteral("first"));
        m_second = MakeWorkshopFolder(QStringLiteral("second"));
        Register(m_first);
        Register(m_second);
    }

    // Runs the dialog as the user would: picks the workshop row, types the number, OK.
    int RunDialog(int workshopRow, const QString& number)
    {
        cNewCarDlg dlg(m_reg, *m_tree);
        ModalRunner::pushHandler([&](QDialog& d) {
            d.findChild<QComboBox*>("id1015")->setCurrentIndex(workshopRow);
            d.findChild<QLineEdit*>("id1016")->setText(number);
            d.accept();
            return d.result();
        });
        return ModalRunner::run(dlg);
    }

    QString VehicleFolder(const QString& workshop, const QString& number) const
    {
        return workshop + QStringLiteral("/RX902/") + number;
    }

    QString m_first;
    QString m_second;
};

TEST_F(NewVehicleTest, ComboListsWorkshopsWithTheirIndexesFirstSelected)
{
    cNewCarDlg dlg(m_reg, *m_tree);
    auto* combo = dlg.findChild<QComboBox*>("id1015");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(1), m_second);
    EXPECT_EQ(combo->itemData(1).toInt(), 1);
}

TEST_F(NewVehicleTest, NewVehicleGetsTodaysCalibrationByteForByte)
{
    EXPECT_EQ(RunDialog(1, QStringLiteral("AB123")), QDialog::Accepted);

    const QString day = VehicleFolder(m_second, QStringLiteral("AB123")) + u'/' + TodayStamp();
    QByteArray param(175, '\0');
    param.replace(118, 5, "AB123");
    EXPECT_EQ(ReadFile(day + QStringLiteral("/PARAM_UP.BIN")), RecordFileBytes(param));
    EXPECT_EQ(ReadFile(day + QStringLiteral("/PARAM_UP.BIN")).size(), 179);
    EXPECT_EQ(ReadFile(day + QStringLiteral("/GSM_UP.BIN")), QByteArray(149, '\0'));
    EXPECT_FALSE(QFileInfo::exists(VehicleFolder(m_second, QStringLiteral("AB123")) +
                                   QStringLiteral("/CINFO.BIN")));

    const TreeNode vehicle = FindNode(TreeLevel::Vehicle, QStringLiteral("AB123"));
    ASSERT_NE(vehicle, nullptr);
    EXPECT_EQ(m_tree->GetNodeText(vehicle->parent()), m_second);
    ASSERT_EQ(vehicle->childCount(), 1);
    EXPECT_EQ(vehicle->child(0)->text(0), TodayStamp());
    EXPECT_EQ(m_tree->SelectedNode(), nullptr);
    EXPECT_TRUE(ShownTexts().isEmpty());
}

TEST_F(NewVehicleTest, NumberIsStoredInTheCodePageThatHoldsIt)
{
    const struct {
        QString number;
        QByteArray bytes;
        char codePage;
    } cases[] = {
        {QStringLiteral("AB123"), "AB123", 0},
        // Twelve Cyrillic letters fit: one byte each in ISO/IEC 8859-5.
        {QStringLiteral("АВЕКМНОРСТУХ"), "\xB0\xB2\xB5\xBA\xBC\xBD\xBE\xC0\xC1\xC2\xC3\xC5", 5},
        {QStringLiteral("MÜNCH1"), "M\xDCNCH1", 1},
        {QStringLiteral("Ł12"),
         "\xA3"
         "12",
         2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunDialog(0, c.number), QDialog::Accepted) << c.number.toStdString();
        const QByteArray file = ReadFile(VehicleFolder(m_first, c.number) + u'/' + TodayStamp() +
                                         QStringLiteral("/PARAM_UP.BIN"));
        ASSERT_EQ(file.size(), 179);
        EXPECT_EQ(file.at(117), c.codePage) << c.number.toStdString();
        EXPECT_EQ(file.mid(118, c.bytes.size() + 1), c.bytes + '\0') << c.number.toStdString();
    }
}

TEST_F(NewVehicleTest, ExistingNumberInAnyWorkshopIsSelectedNotCreated)
{
    MakeCalibration(m_second, QStringLiteral("XY77"), QStringLiteral("20220202"));
    MakeCalibration(m_second, QStringLiteral("XY77"), QStringLiteral("20230303"));
    ASSERT_TRUE(RebuildAndWait(*m_tree));

    EXPECT_EQ(RunDialog(0, QStringLiteral("XY77")), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(VehicleFolder(m_first, QStringLiteral("XY77"))));
    const TreeNode selected = m_tree->SelectedNode();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(cTree::NodeLevel(selected), TreeLevel::Vehicle);
    EXPECT_EQ(m_tree->GetNodePath(selected), VehicleFolder(m_second, QStringLiteral("XY77")));
    // Nothing new on disk in the vehicle either.
    EXPECT_EQ(QDir(VehicleFolder(m_second, QStringLiteral("XY77")))
                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                  .size(),
              2);
}

TEST_F(NewVehicleTest, LookAlikeNumberSelectsTheExistingVehicle)
{
    // Cyrillic А123ВС77 exists; the user types it in Latin, lower case, with a blank.
    const QString cyrillic = QStringLiteral("\u0410123\u0412\u042177");
    MakeCalibration(m_second, cyrillic, QStringLiteral("20230303"));
    ASSERT_TRUE(RebuildAndWait(*m_tree));

    EXPECT_EQ(RunDialog(0, QStringLiteral("a123 bc77")), QDialog::Accepted);
    EXPECT_EQ(QDir(m_first + QStringLiteral("/RX902")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_EQ(
        QDir(m_second + QStringLiteral("/RX902")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        QStringList{cyrillic});
    ASSERT_NE(m_tree->SelectedNode(), nullptr);
    EXPECT_EQ(m_tree->GetNodePath(m_tree->SelectedNode()), VehicleFolder(m_second, cyrillic));
}

TEST_F(NewVehicleTest, RefusedNumbersKeepTheDialogOpenAndCreateNothing)
{
    const struct {
        QString number;
        QString message;
    } cases[] = {
        {QString(), Lang(StringId::EnterRegistrationNumber)},
        {QStringLiteral("  "), Lang(StringId::EnterRegistrationNumber)},
        {QStringLiteral("ABCDEFGHIJKLM"), Lang(StringId::RegistrationTooLong)},
        {QStringLiteral("АВЕКМНОРСТУХА"), Lang(StringId::RegistrationTooLong)},
        {QStringLiteral("A.B"), Lang(StringId::BadFolderName).arg(QStringLiteral("A.B"))},
        {QStringLiteral(".."), Lang(StringId::BadFolderName).arg(QStringLiteral(".."))},
        {QStringLiteral("../x"), Lang(StringId::BadFolderName).arg(QStringLiteral("../x"))},
        {QStringLiteral("A\tB"), Lang(StringId::BadFolderName).arg(QStringLiteral("A\tB"))},
        // What a FAT or exFAT stick cannot hold, and invisible characters.
        {QStringLiteral("A:B"), Lang(StringId::BadFolderName).arg(QStringLiteral("A:B"))},
        {QStringLiteral("A|B"), Lang(StringId::BadFolderName).arg(QStringLiteral("A|B"))},
        {QStringLiteral("A\u200BB"), Lang(StringId::BadFolderName).arg(QStringLiteral("A\u200BB"))},
        // Greek and Cyrillic share no code page.
        {QStringLiteral("ΩЖ1"), Lang(StringId::NoCodePageHolds).arg(QStringLiteral("ΩЖ1"))},
    };
    for (const auto& c : cases) {
        EXPECT_NE(RunDialog(0, c.number), QDialog::Accepted) << c.number.toStdString();
        EXPECT_EQ(ShownTexts(), QStringList{c.message}) << c.number.toStdString();
    }
    EXPECT_EQ(QDir(m_first + QStringLiteral("/RX902"))
                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)
                  .size(),
              0);
    EXPECT_FALSE(QFileInfo::exists(m_first + QStringLiteral("/x")));
}

TEST_F(NewVehicleTest, EmptyRegisterLeavesOkWithoutEffect)
{
    m_reg.entries().clear();
    ASSERT_TRUE(RebuildAndWait(*m_tree));
    cNewCarDlg dlg(m_reg, *m_tree);
    dlg.findChild<QLineEdit*>("id1016")->setText(QStringLiteral("AB1"));
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(ShownTexts().isEmpty());
}

TEST_F(NewVehicleTest, FolderMadeOutsideTheProgramIsShownAndSelected)
{
    ASSERT_TRUE(QDir().mkpath(VehicleFolder(m_first, QStringLiteral("OUT1"))));
    EXPECT_EQ(RunDialog(0, QStringLiteral("OUT1")), QDialog::Accepted);
    const TreeNode selected = m_tree->SelectedNode();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->text(0), u"OUT1");
    EXPECT_EQ(selected->childCount(), 0); // nothing was added to it
}

TEST_F(NewVehicleTest, MissingExchangeFolderIsReported)
{
    ASSERT_TRUE(QDir(m_first + QStringLiteral("/RX902")).removeRecursively());
    EXPECT_NE(RunDialog(0, QStringLiteral("AB1")), QDialog::Accepted);
    EXPECT_EQ(
        ShownTexts(),
        QStringList{
            Lang(StringId::FolderCreateFailed).arg(VehicleFolder(m_first, QStringLiteral("AB1")))});
}

} // namespace
