#include "tests/exchange/WorkshopFixture.h"
#include "tests/support/TreeWaits.h"

#include "exchange/CalibrationSaver.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/NodeDeletion.h"
#include "navigation/cNewCarDlg.h"
#include "params/CurrentCalibration.h"
#include "params/FieldText.h"
#include "params/cTDGrid.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QSysInfo>

#include <functional>

namespace {

// Every file and folder under `root`, hidden ones too, with the files' contents.
QMap<QString, QByteArray> Snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(path, it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly)
                               ? QByteArray("<folder>")
                               : file.readAll());
    }
    return files;
}

class VehicleLockTest : public WorkshopFixture {
protected:
    void SetUp() override
    {
        WorkshopFixture::SetUp();
        m_workshop = MakeWorkshopFolder(QStringLiteral("shop"));
        MakeCalibration(m_workshop, QStringLiteral("CAR1"), QStringLiteral("20240101"));
        Register(m_workshop);
        FolderLock::SetWaitMs(200);
    }

    void TearDown() override
    {
        FolderLock::SetWaitMs(FolderLock::kDefaultWaitMs);
        if (m_holder.state() != QProcess::NotRunning) {
            m_holder.closeWriteChannel();
            m_holder.waitForFinished();
        }
        WorkshopFixture::TearDown();
    }

    // Another process takes the lock of the vehicle `number` and keeps it.
    void HoldElsewhere(const QString& number)
    {
        m_holder.start(
            QStringLiteral(WORKSTATION_HELPER),
            {QStringLiteral("hold"),
             FolderLock::VehicleLockPath(m_workshop + QStringLiteral("/RX902/") + number)});
        ASSERT_TRUE(m_holder.waitForReadyRead());
        ASSERT_EQ(m_holder.readLine().trimmed(), "locked");
    }

    void Release()
    {
        m_holder.closeWriteChannel();
        ASSERT_TRUE(m_holder.waitForFinished());
        ASSERT_EQ(m_holder.exitCode(), 0);
    }

    void SetNumberOnScreen(const QString& number)
    {
        std::uint8_t* field = m_current.param().bytes.data() + ParamRecord::Layout::RegNumberOffset;
        std::fill_n(field, ParamRecord::Layout::RegNumberWidth, 0);
        ASSERT_TRUE(EncodeUtf8Text(number, field, ParamRecord::Layout::RegNumberWidth));
    }

    QString Refusal(const QString& number) const
    {
        return Lang(StringId::VehicleLockedElsewhere)
            .arg(number, QStringLiteral("%1 (%2)")
                             .arg(QSysInfo::machineHostName())
                             .arg(m_holder.processId()));
    }

    QString m_workshop;
    QProcess m_holder;
    cTDGrid m_grid{m_current};
};

TEST_F(VehicleLockTest, ActionOnAVehicleLockedElsewhereWaitsThenIsRefusedChangingNothing)
{
    const struct {
        const char* what;
        QString number;
        std::function<void()> act;
    } cases[] = {
        {"save", QStringLiteral("CAR1"),
         [this] {
             m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
             EXPECT_TRUE(WaitForTree(*m_tree));
             SetNumberOnScreen(QStringLiteral("CAR1"));
             EXPECT_FALSE(SaveCalibration(m_reg, *m_tree, m_grid, nullptr));
         }},
        {"new vehicle", QStringLiteral("NEW1"),
         [this] {
             cNewCarDlg dlg(m_reg, *m_tree);
             dlg.findChild<QLineEdit*>("id1016")->setText(QStringLiteral("NEW1"));
             dlg.accept();
             EXPECT_NE(dlg.result(), QDialog::Accepted);
         }},
        {"delete", QStringLiteral("CAR1"),
         [this] {
             m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("CAR1")));
             EXPECT_TRUE(WaitForTree(*m_tree));
             Prompts::pushAnswer(Prompts::Answer::Yes);
             DeleteSelectedNode(m_reg, *m_tree, nullptr);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HoldElsewhere(c.number);
        const QMap<QString, QByteArray> before = Snapshot(m_workshop);
        c.act();
        QStringList shown = ShownTexts();
        // The delete asks first; its question is not the point here.
        if (shown.size() == 2)
            shown.removeFirst();
        EXPECT_EQ(shown, QStringList{Refusal(c.number)});
        EXPECT_EQ(Snapshot(m_workshop), before);
        EXPECT_NE(FindNode(TreeLevel::Day, QStringLiteral("20240101")), nullptr);
        Release();
    }

    // Once the other workstation is done, the same save goes through and leaves no lock.
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    SetNumberOnScreen(QStringLiteral("CAR1"));
    EXPECT_TRUE(SaveCalibration(m_reg, *m_tree, m_grid, nullptr));
    // The day selected after the save is read under the vehicle's lock.
    EXPECT_TRUE(WaitForTree(*m_tree));
    EXPECT_TRUE(ShownTexts().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(m_workshop + QStringLiteral("/RX902/CAR1/") + TodayStamp() +
                                  QStringLiteral("/PARAM_UP.BIN")));
    EXPECT_FALSE(
        QFileInfo::exists(FolderLock::VehicleLockPath(m_workshop + QStringLiteral("/RX902/CAR1"))));
}

} // namespace
