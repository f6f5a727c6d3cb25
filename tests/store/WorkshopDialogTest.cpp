#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/AtomicFileWriter.h"
#include "store/EnsureWorkshopRecord.h"
#include "store/RegisterSaver.h"
#include "store/WorkshopDetails.h"
#include "store/cServiceDlg.h"
#include "tests/store/StoreTestFiles.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace StoreTestFiles;

namespace {
constexpr int kFirstEditId = 1010; // name, address, phone, index follow in order

QLineEdit* edit(QDialog& dialog, int offset)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(kFirstEditId + offset));
}

// Plays a user who types the four values and presses OK.
ModalRunner::Handler typeAndAccept(const QStringList& values)
{
    return [values](QDialog& dialog) {
        for (int i = 0; i < values.size(); ++i)
            edit(dialog, i)->setText(values[i]);
        dialog.accept();
        return dialog.result();
    };
}

// Plays a user who changes the name and then cancels.
int typeAndCancel(QDialog& dialog)
{
    edit(dialog, 0)->setText(QStringLiteral("typed"));
    dialog.reject();
    return dialog.result();
}

class WorkshopDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts::setSilent(true);
        Prompts::takeShownTexts();
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("shop")));
        m_entry.folderPath = m_dir.filePath(QStringLiteral("shop"));
    }
    void TearDown() override
    {
        ModalRunner::clearHandlers();
        AtomicFileWriter::failNthWrite(0);
        Prompts::setSilent(false);
    }
    QString recordPath() const { return WorkshopRecordPathOf(m_entry.folderPath); }

    QTemporaryDir m_dir;
    WorkshopEntry m_entry;
};
} // namespace

TEST_F(WorkshopDialogTest, dialogShowsPresetValuesAndLimitsLengthsToFieldCapacity)
{
    cServiceDlg dialog;
    dialog.name = QStringLiteral("Тахограф-Сервис");
    dialog.index = QStringLiteral("620014");
    QStringList shown;
    std::vector<int> limits;
    ModalRunner::pushHandler([&](QDialog& d) {
        for (int i = 0; i < 4; ++i) {
            shown.append(edit(d, i)->text());
            limits.push_back(edit(d, i)->maxLength());
        }
        return typeAndCancel(d);
    });
    EXPECT_EQ(ModalRunner::run(dialog), QDialog::Rejected);
    EXPECT_EQ(shown, (QStringList{dialog.name, QString(), QString(), dialog.index}));
    EXPECT_EQ(limits, (std::vector<int>{259, 259, 31, 31}));
    EXPECT_EQ(dialog.name, QStringLiteral("Тахограф-Сервис")); // Cancel keeps the values
}

TEST_F(WorkshopDialogTest, existingRecordIsReadWithoutAskingTheUser)
{
    ASSERT_TRUE(QDir(m_entry.folderPath).mkdir(QStringLiteral("RX902")));
    ASSERT_TRUE(writeRaw(recordPath(), utf16le(QStringLiteral("Shop"))));
    ModalRunner::pushHandler([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_TRUE(EnsureWorkshopRecord(m_entry));
    EXPECT_TRUE(ModalRunner::hasPendingHandlers());
    EXPECT_EQ(m_entry.record.field(WorkshopRecord::Field::Name), QStringLiteral("Shop"));
}

TEST_F(WorkshopDialogTest, emptyRecordFileCountsAsMissingAndDetailsAreWritten)
{
    ASSERT_TRUE(QDir(m_entry.folderPath).mkdir(QStringLiteral("RX902")));
    ASSERT_TRUE(writeRaw(recordPath(), {}));
    const QStringList typed{QStringLiteral("Тахосервис"), QStringLiteral("ул. Мира, 1"),
                            QStringLiteral("+7 343 000-00-00"), QStringLiteral("620014")};
    ModalRunner::pushHandler(typeAndAccept(typed));
    ASSERT_TRUE(EnsureWorkshopRecord(m_entry));
    EXPECT_FALSE(ModalRunner::hasPendingHandlers());

    const QByteArray file = readAll(recordPath());
    ASSERT_EQ(file.size(), 1168 + 4);
    WorkshopRecord onDisk;
    std::copy(file.begin(), file.begin() + 1168, reinterpret_cast<char*>(onDisk.bytes.data()));
    EXPECT_EQ(onDisk, m_entry.record);
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Name), typed[0]);
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Address), typed[1]);
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Phone), typed[2]);
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Index), typed[3]);
}

TEST_F(WorkshopDialogTest, failureAtEveryPositionLeavesNoRecordAndNoNewEmptyFolder)
{
    // Every failure position of making the exchange folder and writing the record, with the
    // clean-up working and with it failing: a record on disk exactly when the result says so,
    // one message otherwise, and the new exchange folder gone or named in it.
    using Kind = AtomicFileWriter::FaultPoint;
    const QString exchange = m_entry.folderPath + QStringLiteral("/RX902");
    const QStringList typed{QStringLiteral("Swept")};
    AtomicFileWriter::failAt(Kind::Any, 0);
    ModalRunner::pushHandler(typeAndAccept(typed));
    ASSERT_TRUE(EnsureWorkshopRecord(m_entry));
    const QByteArray whole = readAll(recordPath());
    const int steps = AtomicFileWriter::stepsTaken();
    for (const Kind removals : {Kind::Any, Kind::Remove}) {
        for (int position = 1; position <= steps; ++position) {
            SCOPED_TRACE(position * (removals == Kind::Remove ? -1 : 1));
            ASSERT_TRUE(QDir(exchange).removeRecursively());
            WorkshopEntry entry;
            entry.folderPath = m_entry.folderPath;
            ModalRunner::pushHandler(typeAndAccept(typed));
            AtomicFileWriter::failAt(Kind::Any, position);
            AtomicFileWriter::failEvery(removals);
            const bool ok = EnsureWorkshopRecord(entry);
            AtomicFileWriter::failEvery(Kind::Any);
            AtomicFileWriter::failAt(Kind::Any, 0);
            const QStringList shown = Prompts::takeShownTexts();
            EXPECT_EQ(readAll(recordPath()), ok ? whole : QByteArray());
            ASSERT_EQ(shown.size(), ok ? 0 : 1);
            if (!ok) {
                EXPECT_EQ(QFileInfo(exchange).isDir(),
                          shown.first().contains(Lang(StringId::FolderDeleteFailed).arg(exchange)));
            }
        }
    }
}

TEST_F(WorkshopDialogTest, allFieldsEmptyWriteZeroRecordInNewExchangeFolder)
{
    ModalRunner::pushHandler(typeAndAccept({}));
    ASSERT_TRUE(EnsureWorkshopRecord(m_entry));
    EXPECT_EQ(readAll(recordPath()), QByteArray(1168 + 4, '\0'));
}

TEST_F(WorkshopDialogTest, cancelWritesNothingAndKeepsRecord)
{
    m_entry.record.setField(WorkshopRecord::Field::Name, QStringLiteral("before"));
    const WorkshopRecord before = m_entry.record;
    ModalRunner::pushHandler(typeAndCancel);
    EXPECT_FALSE(EnsureWorkshopRecord(m_entry));
    EXPECT_EQ(m_entry.record, before);
    EXPECT_TRUE(everyName(m_entry.folderPath).isEmpty());
}

TEST_F(WorkshopDialogTest, missingWorkshopFolderFailsAndTellsTheUser)
{
    m_entry.folderPath = m_dir.filePath(QStringLiteral("gone"));
    ModalRunner::pushHandler(typeAndAccept({QStringLiteral("Name")}));
    EXPECT_FALSE(EnsureWorkshopRecord(m_entry));
    EXPECT_EQ(m_entry.record, WorkshopRecord{});
    EXPECT_EQ(Prompts::takeShownTexts(),
              QStringList{Lang(StringId::WorkshopWriteFailed).arg(recordPath())});
}

TEST_F(WorkshopDialogTest, entryWithoutFolderIsRefusedWithoutAskingTheUser)
{
    m_entry.folderPath.clear();
    ModalRunner::pushHandler(typeAndAccept({}));
    EXPECT_FALSE(EnsureWorkshopRecord(m_entry));
    EXPECT_FALSE(EditWorkshopDetails(m_entry, nullptr));
    EXPECT_TRUE(ModalRunner::hasPendingHandlers());
}

TEST_F(WorkshopDialogTest, editDetailsPresetsWritesAndReadsBack)
{
    ASSERT_TRUE(QDir(m_entry.folderPath).mkdir(QStringLiteral("RX902")));
    m_entry.record.setField(WorkshopRecord::Field::Phone, QStringLiteral("111"));
    QString presetPhone;
    ModalRunner::pushHandler([&](QDialog& d) {
        presetPhone = edit(d, 2)->text();
        edit(d, 0)->setText(QStringLiteral("New name"));
        d.accept();
        return d.result();
    });
    ASSERT_TRUE(EditWorkshopDetails(m_entry, nullptr));
    EXPECT_EQ(presetPhone, QStringLiteral("111"));
    WorkshopRecord onDisk;
    ASSERT_TRUE(ReadRecordFile(recordPath(), onDisk.bytes));
    EXPECT_EQ(onDisk, m_entry.record);
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Name), QStringLiteral("New name"));
    EXPECT_EQ(onDisk.field(WorkshopRecord::Field::Phone), QStringLiteral("111"));
}

TEST_F(WorkshopDialogTest, failedDetailsWriteKeepsOldFileAndEntryAndWarns)
{
    ASSERT_TRUE(QDir(m_entry.folderPath).mkdir(QStringLiteral("RX902")));
    m_entry.record.setField(WorkshopRecord::Field::Name, QStringLiteral("Old"));
    ASSERT_TRUE(WriteRecordFile(recordPath(), m_entry.record.bytes));
    const QByteArray oldFile = readAll(recordPath());
    const WorkshopRecord before = m_entry.record;

    ModalRunner::pushHandler(typeAndAccept({QStringLiteral("New")}));
    AtomicFileWriter::failNthWrite(1);
    EXPECT_FALSE(EditWorkshopDetails(m_entry, nullptr));
    EXPECT_EQ(m_entry.record, before);
    EXPECT_EQ(readAll(recordPath()), oldFile);
    EXPECT_EQ(Prompts::takeShownTexts().size(), 1);
}

TEST_F(WorkshopDialogTest, failedRegisterSaveTellsTheUserAndKeepsFile)
{
    TempDataFolder data;
    const QString file = WorkshopRegister::serviceFilePath();
    WorkshopRegister reg;
    reg.entries().push_back(WorkshopEntry{});
    reg.entries().back().folderPath = QStringLiteral("/first");
    ASSERT_TRUE(SaveRegisterOrWarn(reg, nullptr));
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
    const QByteArray saved = readAll(file);

    reg.entries().push_back(reg.entries().front());
    AtomicFileWriter::failNthWrite(1);
    EXPECT_FALSE(SaveRegisterOrWarn(reg, nullptr));
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::RegisterSaveFailed).arg(file)});
    EXPECT_EQ(readAll(file), saved);
}
