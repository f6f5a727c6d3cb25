#include "tests/exchange/WorkshopFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/WorkshopRegistration.h"
#include "navigation/cClientsDlg.h"
#include "navigation/cCreateClientDlg.h"
#include "platform/FolderChooser.h"
#include "platform/ModalRunner.h"
#include "store/AtomicFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class WorkshopListTest : public WorkshopFixture {
protected:
    QListWidget* List(cClientsDlg& dlg) { return dlg.findChild<QListWidget*>("id1000"); }
    void SelectRow(cClientsDlg& dlg, int row) { List(dlg)->setCurrentRow(row); }
    QList<int> RowIndexes(cClientsDlg& dlg)
    {
        QList<int> indexes;
        for (int i = 0; i < List(dlg)->count(); ++i)
            indexes << List(dlg)->item(i)->data(Qt::UserRole).toInt();
        return indexes;
    }
    QStringList SavedRegister()
    {
        const QByteArray bytes = ReadFile(WorkshopRegister::serviceFilePath());
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
        return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

TEST_F(WorkshopListTest, FolderWithRecordIsRegisteredWithoutAskingForDetails)
{
    const QString folder = MakeWorkshopFolder(QStringLiteral("north"));
    MakeCalibration(folder, QStringLiteral("AB12"), QStringLiteral("20240105"));
    cClientsDlg dlg(m_reg, *m_tree);
    PushUnexpectedDialog();
    FolderChooser::pushChoice(folder);
    dlg.OnAddFolder();
    ExpectNoDialogRan();

    ASSERT_EQ(m_reg.entries().size(), 1u);
    EXPECT_EQ(m_reg.entries()[0].record.field(WorkshopRecord::Field::Name), u"north");
    EXPECT_EQ(RowIndexes(dlg), QList<int>{0});
    EXPECT_EQ(SavedRegister(), QStringList{folder});
    ASSERT_TRUE(WaitForTree(*m_tree));
    EXPECT_NE(FindNode(TreeLevel::Vehicle, QStringLiteral("AB12")), nullptr);
}

TEST_F(WorkshopListTest, FolderWithoutRecordAsksForDetailsAndWritesThem)
{
    const QString folder = m_data.filePath(QStringLiteral("bare"));
    ASSERT_TRUE(QDir().mkpath(folder));
    cClientsDlg dlg(m_reg, *m_tree);
    FolderChooser::pushChoice(folder);
    PushDetailsAnswer(QStringLiteral("Bare Motors"), QStringLiteral("Main St 1"),
                      QStringLiteral("555"), QStringLiteral("1234"));
    dlg.OnAddFolder();

    ASSERT_EQ(m_reg.entries().size(), 1u);
    const QByteArray sinfo = ReadFile(folder + QStringLiteral("/RX902/SINFO.BIN"));
    EXPECT_EQ(sinfo.size(), 1168 + 4);
    EXPECT_EQ(m_reg.entries()[0].record.field(WorkshopRecord::Field::Address), u"Main St 1");
    EXPECT_EQ(m_tree->topLevelItemCount(), 1);
}

TEST_F(WorkshopListTest, CancelledDetailsOrChooserRegisterNothing)
{
    const QString folder = m_data.filePath(QStringLiteral("bare"));
    ASSERT_TRUE(QDir().mkpath(folder));
    cClientsDlg dlg(m_reg, *m_tree);
    FolderChooser::pushChoice(folder);
    ModalRunner::pushHandler([](QDialog&) { return int(QDialog::Rejected); });
    dlg.OnAddFolder();
    FolderChooser::pushChoice(std::nullopt);
    dlg.OnAddFolder();

    EXPECT_TRUE(m_reg.entries().empty());
    EXPECT_EQ(List(dlg)->count(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/RX902/SINFO.BIN")));
    EXPECT_FALSE(QFileInfo::exists(WorkshopRegister::serviceFilePath()));
}

TEST_F(WorkshopListTest, SameFolderTwiceGivesTwoEntriesAndNodes)
{
    const QString folder = MakeWorkshopFolder(QStringLiteral("twice"));
    cClientsDlg dlg(m_reg, *m_tree);
    FolderChooser::pushChoice(folder);
    dlg.OnAddFolder();
    FolderChooser::pushChoice(folder);
    dlg.OnAddFolder();

    EXPECT_EQ(m_reg.entries().size(), 2u);
    EXPECT_EQ(RowIndexes(dlg), (QList<int>{0, 1}));
    EXPECT_EQ(m_tree->topLevelItemCount(), 2);
    EXPECT_EQ(SavedRegister(), (QStringList{folder, folder}));
}

TEST_F(WorkshopListTest, UnregisterKeepsFolderAndReAddRestoresVehicles)
{
    const QString kept = MakeWorkshopFolder(QStringLiteral("kept"));
    const QString gone = MakeWorkshopFolder(QStringLiteral("gone"));
    MakeCalibration(gone, QStringLiteral("XY99"), QStringLiteral("20230301"));
    Register(kept);
    cClientsDlg dlg(m_reg, *m_tree);
    FolderChooser::pushChoice(gone);
    dlg.OnAddFolder();
    // The row just added acts on the workshop it shows.
    SelectRow(dlg, 1);
    dlg.OnRemove();

    ASSERT_EQ(m_reg.entries().size(), 1u);
    EXPECT_EQ(m_reg.entries()[0].folderPath, kept);
    EXPECT_EQ(SavedRegister(), QStringList{kept});
    EXPECT_EQ(FindNode(TreeLevel::Vehicle, QStringLiteral("XY99")), nullptr);
    EXPECT_TRUE(QFileInfo::exists(gone + QStringLiteral("/RX902/XY99/20230301/PARAM_UP.BIN")));

    FolderChooser::pushChoice(gone);
    dlg.OnAddFolder();
    ASSERT_TRUE(WaitForTree(*m_tree));
    const TreeNode vehicle = FindNode(TreeLevel::Vehicle, QStringLiteral("XY99"));
    ASSERT_NE(vehicle, nullptr);
    EXPECT_EQ(vehicle->childCount(), 1);
}

TEST_F(WorkshopListTest, RemoveRenumbersRowsAndNeedsASelection)
{
    for (const char* name : {"a", "b", "c"})
        Register(MakeWorkshopFolder(QString::fromLatin1(name)));
    cClientsDlg dlg(m_reg, *m_tree);
    dlg.OnRemove();
    EXPECT_EQ(m_reg.entries().size(), 3u);

    SelectRow(dlg, 0);
    dlg.OnRemove();
    EXPECT_EQ(RowIndexes(dlg), (QList<int>{0, 1}));
    EXPECT_EQ(List(dlg)->item(0)->text(), m_data.filePath(QStringLiteral("b")));
    EXPECT_EQ(m_tree->topLevelItemCount(), 2);
}

TEST_F(WorkshopListTest, RowButtonsAreEnabledOnlyWithARow)
{
    const auto enabled = [](cClientsDlg& dlg) {
        QList<bool> states;
        for (const char* id : {"id1001", "id1002", "id1014", "id1003"})
            states << dlg.findChild<QPushButton*>(id)->isEnabled();
        return states;
    };
    cClientsDlg empty(m_reg, *m_tree);
    EXPECT_EQ(enabled(empty), (QList<bool>{true, true, false, false}));

    Register(MakeWorkshopFolder(QStringLiteral("a")));
    cClientsDlg dlg(m_reg, *m_tree);
    EXPECT_EQ(enabled(dlg), (QList<bool>{true, true, false, false}));
    SelectRow(dlg, 0);
    EXPECT_EQ(enabled(dlg), (QList<bool>{true, true, true, true}));
    dlg.findChild<QPushButton*>("id1003")->click();
    EXPECT_EQ(List(dlg)->count(), 0);
    EXPECT_EQ(enabled(dlg), (QList<bool>{true, true, false, false}));
}

TEST_F(WorkshopListTest, DetailsAreWrittenAndReadBack)
{
    const QString folder = MakeWorkshopFolder(QStringLiteral("details"));
    Register(folder);
    cClientsDlg dlg(m_reg, *m_tree);
    PushUnexpectedDialog();
    dlg.OnDetails(); // no row selected
    ExpectNoDialogRan();

    SelectRow(dlg, 0);
    ModalRunner::pushHandler([](QDialog& d) {
        // The dialog opens with the entry's details.
        EXPECT_EQ(d.findChild<QLineEdit*>("id1010")->text(), u"details");
        d.findChild<QLineEdit*>("id1012")->setText(QStringLiteral("+49 30 1234"));
        d.findChild<QLineEdit*>("id1010")->setText(QStringLiteral("Details Ltd"));
        d.accept();
        return d.result();
    });
    dlg.findChild<QPushButton*>("id1014")->click();
    // The tree names the workshop as it is now called.
    EXPECT_EQ(m_tree->topLevelItem(0)->text(0), u"Details Ltd");

    WorkshopRecord onDisk;
    ASSERT_TRUE(ReadRecordFile(WorkshopRecordPathOf(folder), onDisk.bytes));
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Phone), u"+49 30 1234");
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Name), u"Details Ltd");
    EXPECT_EQ(m_reg.entries()[0].record, onDisk);
}

class CreateWorkshopTest : public WorkshopFixture {
protected:
    // Runs OK on a create-workshop dialog with the given location (none: not chosen).
    void PressOk(cCreateClientDlg& dlg, const std::optional<QString>& location, const QString& name)
    {
        if (location) {
            FolderChooser::pushChoice(*location);
            dlg.OnBrowse();
        }
        dlg.findChild<QLineEdit*>("id1004")->setText(name);
        dlg.accept();
    }
    // Plays the create-workshop dialog that the list's Create button opens.
    void PushCreateAnswer(const QString& name)
    {
        ModalRunner::pushHandler([this, name](QDialog& d) {
            auto& create = dynamic_cast<cCreateClientDlg&>(d);
            PressOk(create, m_data.path(), name);
            return create.result();
        });
    }
};

TEST_F(CreateWorkshopTest, MakesFolderWithExchangeFolder)
{
    cCreateClientDlg dlg;
    PressOk(dlg, m_data.path(), QStringLiteral("South"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.WorkshopPath(), m_data.filePath(QStringLiteral("South")));
    EXPECT_EQ(dlg.findChild<QLineEdit*>("id1009")->text(), m_data.path());
    EXPECT_TRUE(QFileInfo(dlg.WorkshopPath() + QStringLiteral("/RX902")).isDir());
}

TEST_F(CreateWorkshopTest, TabOrderFollowsTheLayout)
{
    for (const QString& pack : {QStringLiteral("Velmora_en"), QStringLiteral("Velmora_ru")}) {
        ASSERT_TRUE(LanguagePack::current().load(pack));
        cCreateClientDlg dlg;
        QStringList order;
        QWidget* widget = dlg.findChild<QLineEdit*>("id1004");
        do {
            if (widget->objectName().startsWith(u"id"))
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget && widget->objectName() != u"id1004");
        EXPECT_EQ(order, (QStringList{"id1004", "id1009", "id1005"})) << pack.toStdString();
    }
}

TEST_F(CreateWorkshopTest, WholeCreationFailingAtEveryPositionLeavesNoNewEmptyFolder)
{
    // The user's whole run, from the list's Create button through the location, the name and
    // the details to the saved register, failed at every position of the file writer, with
    // the clean-up working and with it failing. Afterwards the workshop is registered with its
    // record, or nothing is and every folder the run made is gone or named; the register file
    // is the old or the new one; a failure is told once and named.
    using Kind = AtomicFileWriter::FaultPoint;
    const QString old = MakeWorkshopFolder(QStringLiteral("Old"));
    const QString folder = m_data.filePath(QStringLiteral("Swept"));
    const QString exchange = folder + QStringLiteral("/RX902");
    const QString record = exchange + QStringLiteral("/SINFO.BIN");
    const QString serviceFile = WorkshopRegister::serviceFilePath();
    const auto reset = [&] {
        ASSERT_TRUE(QDir(folder).removeRecursively());
        m_reg.entries().clear();
        Register(old);
        ASSERT_TRUE(m_reg.save(serviceFile));
        ShownTexts();
    };
    const auto create = [&] {
        cClientsDlg dlg(m_reg, *m_tree);
        PushCreateAnswer(QStringLiteral("Swept"));
        PushDetailsAnswer(QStringLiteral("Swept Ltd"));
        dlg.findChild<QPushButton*>("id1002")->click();
        // The details are not asked for when the folders could not be made.
        ModalRunner::clearHandlers();
    };
    reset();
    const QByteArray oldRegister = ReadFile(serviceFile);
    AtomicFileWriter::failAt(Kind::Any, 0);
    create();
    const QList<Kind> kinds = AtomicFileWriter::stepKinds();
    const QByteArray newRegister = ReadFile(serviceFile);
    const QByteArray newRecord = ReadFile(record);
    ASSERT_TRUE(ShownTexts().isEmpty());
    ASSERT_EQ(m_reg.entries().size(), 2u);
    // Both folders, the record and the register are written through the writer.
    ASSERT_EQ(kinds.count(Kind::CreateFolder), 2);
    ASSERT_EQ(kinds.count(Kind::Rename), 2);
    ASSERT_NE(oldRegister, newRegister);

    for (const Kind removals : {Kind::Any, Kind::Remove}) {
        for (int position = 1; position <= kinds.size(); ++position) {
            SCOPED_TRACE(position * (removals == Kind::Remove ? -1 : 1));
            reset();
            AtomicFileWriter::failAt(Kind::Any, position);
            AtomicFileWriter::failEvery(removals);
            create();
            AtomicFileWriter::failEvery(Kind::Any);
            AtomicFileWriter::failAt(Kind::Any, 0);
            const QStringList shown = ShownTexts();
            const bool registered = m_reg.entries().size() == 2;
            const QByteArray registerNow = ReadFile(serviceFile);
            EXPECT_TRUE(registerNow == oldRegister || registerNow == newRegister);
            EXPECT_EQ(m_tree->topLevelItemCount(), registered ? 2 : 1);
            // Only a folder flush fails nothing.
            const Kind kind = kinds.at(position - 1);
            const bool fails = kind != Kind::OpenFolder && kind != Kind::SyncFolder;
            ASSERT_EQ(shown.size(), fails ? 1 : 0);
            if (registered) {
                // The record is written; only the register file can have failed after it,
                // and the workshop stays registered for this run, as the message says.
                EXPECT_EQ(ReadFile(record), newRecord);
                EXPECT_EQ(registerNow, fails ? oldRegister : newRegister);
                if (fails) {
                    EXPECT_EQ(shown.first(), Lang(StringId::RegisterSaveFailed).arg(serviceFile));
                }
                continue;
            }
            EXPECT_EQ(registerNow, oldRegister);
            EXPECT_FALSE(QFileInfo::exists(record));
            const QString& message = shown.first();
            EXPECT_TRUE(message.startsWith(Lang(StringId::FolderCreateFailed).arg(folder)) ||
                        message.startsWith(Lang(StringId::FolderCreateFailed).arg(exchange)) ||
                        message.startsWith(Lang(StringId::WorkshopWriteFailed).arg(record)))
                << message.toStdString();
            for (const QString& made : {exchange, folder}) {
                EXPECT_EQ(QFileInfo(made).isDir(),
                          message.contains(Lang(StringId::FolderDeleteFailed).arg(made)))
                    << made.toStdString();
                if (removals == Kind::Any) {
                    EXPECT_FALSE(QFileInfo::exists(made)) << made.toStdString();
                }
            }
        }
    }
}

TEST_F(CreateWorkshopTest, DetailsCancelledRemovesTheFoldersMade)
{
    const QString folder = m_data.filePath(QStringLiteral("Given up"));
    cClientsDlg dlg(m_reg, *m_tree);
    PushCreateAnswer(QStringLiteral("Given up"));
    ModalRunner::pushHandler([](QDialog& d) {
        d.reject();
        return d.result();
    });
    dlg.findChild<QPushButton*>("id1002")->click();
    EXPECT_FALSE(ModalRunner::hasPendingHandlers());
    EXPECT_TRUE(m_reg.entries().empty());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(ShownTexts().isEmpty());
}

TEST_F(CreateWorkshopTest, EmptyNameGivesTheLocationItself)
{
    cCreateClientDlg dlg;
    PressOk(dlg, m_data.path(), QString());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.WorkshopPath(), m_data.path());
}

TEST_F(CreateWorkshopTest, RefusalsKeepTheDialogOpen)
{
    cCreateClientDlg noLocation;
    PressOk(noLocation, std::nullopt, QStringLiteral("X"));
    EXPECT_NE(noLocation.result(), QDialog::Accepted);
    EXPECT_EQ(ShownTexts(), QStringList{Lang(StringId::LocationMissing)});

    cCreateClientDlg tooLong;
    PressOk(tooLong, m_data.path(), QString(260, u'n'));
    EXPECT_NE(tooLong.result(), QDialog::Accepted);
    ASSERT_EQ(ShownTexts().size(), 1);

    cCreateClientDlg nested;
    PressOk(nested, m_data.path(), QStringLiteral("a/b"));
    EXPECT_NE(nested.result(), QDialog::Accepted);
    EXPECT_EQ(ShownTexts(),
              QStringList{
                  Lang(StringId::FolderCreateFailed).arg(m_data.filePath(QStringLiteral("a/b")))});
    EXPECT_FALSE(QFileInfo::exists(m_data.filePath(QStringLiteral("a"))));
}

TEST_F(CreateWorkshopTest, ListCreateRegistersTheNewFolderWithDetails)
{
    cClientsDlg dlg(m_reg, *m_tree);
    PushCreateAnswer(QStringLiteral("Fresh"));
    PushDetailsAnswer(QStringLiteral("Fresh Ltd"));
    dlg.OnCreateFolder();

    ASSERT_EQ(m_reg.entries().size(), 1u);
    EXPECT_EQ(m_reg.entries()[0].folderPath, m_data.filePath(QStringLiteral("Fresh")));
    EXPECT_EQ(dlg.findChild<QListWidget*>("id1000")->count(), 1);
    EXPECT_EQ(ReadFile(m_data.filePath(QStringLiteral("Fresh/RX902/SINFO.BIN"))).size(), 1168 + 4);
}

TEST_F(CreateWorkshopTest, NewWorkshopCommandRegistersWithoutList)
{
    const QString folder = m_data.filePath(QStringLiteral("cmd"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/RX902")));
    PushDetailsAnswer(QStringLiteral("Cmd"));
    EXPECT_TRUE(RegisterWorkshopFolder(folder, m_reg, *m_tree, nullptr));
    EXPECT_EQ(m_tree->topLevelItemCount(), 1);
    EXPECT_EQ(m_tree->GetNodeText(m_tree->topLevelItem(0)), folder);

    // A folder that does not exist cannot get its record: nothing is registered.
    PushDetailsAnswer(QStringLiteral("Ghost"));
    EXPECT_FALSE(
        RegisterWorkshopFolder(m_data.filePath(QStringLiteral("ghost")), m_reg, *m_tree, nullptr));
    EXPECT_EQ(m_reg.entries().size(), 1u);
}

TEST_F(CreateWorkshopTest, PathWithControlCharacterIsRefusedWithoutAsking)
{
    const QString folder = m_data.filePath(QStringLiteral("line\nbreak"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/RX902")));
    EXPECT_FALSE(RegisterWorkshopFolder(folder, m_reg, *m_tree, nullptr));
    EXPECT_TRUE(m_reg.entries().empty());
    EXPECT_EQ(ShownTexts(), QStringList{Lang(StringId::PathHasControlCharacters).arg(folder)});
}

} // namespace
