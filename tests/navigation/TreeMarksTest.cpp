#include "tests/navigation/TreeFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/WorkshopListings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

// Plays a file server that holds back the listing of one folder, the first `held` times it
// is asked, until released.
class SlowServer {
public:
    SlowServer(QString folder, int held) : m_folder(std::move(folder)), m_held(held)
    {
        WorkshopListings::SetAfterListing([this](const QString& listed) { Hold(listed); });
    }
    ~SlowServer()
    {
        Release();
        WorkshopListings::SetAfterListing({});
        // Workers still held finish into listings no one awaits.
        QThread::msleep(50);
    }
    void Release()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_released = true;
        }
        m_wake.notify_all();
    }

    // How many readings of the folder have reached the server.
    int Asked()
    {
        const std::lock_guard lock(m_mutex);
        return m_asked;
    }

private:
    void Hold(const QString& listed)
    {
        std::unique_lock lock(m_mutex);
        if (listed != m_folder)
            return;
        ++m_asked;
        if (m_held-- <= 0)
            return;
        m_wake.wait(lock, [this] { return m_released; });
    }

    QString m_folder;
    int m_held;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_released = false;
    int m_asked = 0;
};

void ProcessEventsFor(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class TreeMarksTest : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        WorkshopListings::SetTimeoutMs(kTimeoutMs);
    }
    void TearDown() override
    {
        WorkshopListings::SetTimeoutMs(WorkshopListings::kDefaultTimeoutMs);
    }

    int MarkOf(int row) const
    {
        return m_tree.topLevelItem(row)->data(0, kWorkshopMarkRole).toInt();
    }
    QString TipOf(int row) const { return m_tree.topLevelItem(row)->toolTip(0); }

    static constexpr int kTimeoutMs = 1000;
};

TEST_F(TreeMarksTest, workshopsThatCannotBeReadAreMarkedWhileTheOthersWork)
{
    const QString good = MakeWorkshop(QStringLiteral("good"));
    MakeFolder(good, QStringLiteral("A1"), QStringLiteral("20260101"));
    const QString missing = m_data.filePath(QStringLiteral("missing"));
    const QString notFolder = MakeWorkshop(QStringLiteral("file"), false);
    MakeFile(notFolder + QStringLiteral("/RX902"));
    const QString slow = MakeWorkshop(QStringLiteral("slow"));
    MakeFolder(slow, QStringLiteral("S1"), QStringLiteral("20260101"));
    for (const QString& folder : {good, missing, notFolder, slow})
        Register(folder);

    SlowServer server(slow, 1);
    m_tree.OnInitialUpdate();
    // The window does not wait: every workshop is shown at once, marked as being read.
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(MarkOf(row), WorkshopMark::Reading) << row;
    ASSERT_TRUE(QTest::qWaitFor([this] {
        return MarkOf(0) == WorkshopMark::None && MarkOf(2) == WorkshopMark::Unreachable;
    }));
    const auto unreachable = [](const QString& reason) {
        return Lang(StringId::WorkshopUnreachable).arg(reason);
    };
    const struct {
        const char* what;
        int row;
        int mark;
        QString tip;
    } atStart[] = {
        {"readable", 0, WorkshopMark::None, good},
        {"missing", 1, WorkshopMark::Unreachable,
         unreachable(QString::fromLocal8Bit(std::strerror(ENOENT))) + u'\n' + missing},
        {"not a folder", 2, WorkshopMark::Unreachable,
         unreachable(QString::fromLocal8Bit(std::strerror(ENOTDIR))) + u'\n' + notFolder},
        {"slow", 3, WorkshopMark::Reading, Lang(StringId::ReadingWorkshop) + u'\n' + slow},
    };
    for (const auto& c : atStart) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MarkOf(c.row), c.mark);
        EXPECT_EQ(TipOf(c.row), c.tip);
    }
    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(0)), QStringList{QStringLiteral("A1")});
    EXPECT_EQ(m_tree.topLevelItem(3)->childCount(), 0);

    // No answer in time: unreachable, while the others stay as they are.
    ProcessEventsFor(kTimeoutMs + 200);
    EXPECT_EQ(MarkOf(3), WorkshopMark::Unreachable);
    EXPECT_EQ(TipOf(3),
              unreachable(Lang(StringId::NoAnswerWithin).arg(kTimeoutMs / 1000)) + u'\n' + slow);
    EXPECT_EQ(MarkOf(0), WorkshopMark::None);

    // The answer that comes at last is still the newest: the branch fills in.
    server.Release();
    ProcessEventsFor(200);
    EXPECT_EQ(MarkOf(3), WorkshopMark::None);
    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(3)), QStringList{QStringLiteral("S1")});
}

TEST_F(TreeMarksTest, listingOvertakenByANewerOneIsDropped)
{
    const QString shop = MakeWorkshop(QStringLiteral("shop"));
    MakeFolder(shop, QStringLiteral("A1"), QStringLiteral("20260101"));
    Register(shop);
    m_tree.OnInitialUpdate();
    ASSERT_TRUE(WaitForTree(m_tree));
    ASSERT_EQ(ChildTexts(m_tree.topLevelItem(0)), QStringList{QStringLiteral("A1")});

    // The first re-read is held at the server with the old listing; the second, made after a
    // vehicle was added, comes back first.
    SlowServer server(shop, 1);
    m_tree.RereadAll();
    EXPECT_EQ(MarkOf(0), WorkshopMark::Reading);
    ASSERT_TRUE(QTest::qWaitFor([&server] { return server.Asked() == 1; }));
    MakeFolder(shop, QStringLiteral("B2"), QStringLiteral("20260202"));
    m_tree.RereadAll();
    ASSERT_TRUE(QTest::qWaitFor([this] { return MarkOf(0) == WorkshopMark::None; }));
    const QStringList newest{QStringLiteral("A1"), QStringLiteral("B2")};
    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(0)), newest);

    server.Release();
    ProcessEventsFor(200);
    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(0)), newest);
    EXPECT_EQ(MarkOf(0), WorkshopMark::None);
}

// A server that answers no more ties up two workers however often the window asks again; the
// newest request is read once one of them comes back, and is what the tree shows.
TEST_F(TreeMarksTest, silentFolderTiesUpTwoWorkersAndTheNewestRequestWins)
{
    const QString shop = MakeWorkshop(QStringLiteral("shop"));
    MakeFolder(shop, QStringLiteral("A1"), QStringLiteral("20260101"));
    Register(shop);
    SlowServer server(shop, 1000);
    m_tree.OnInitialUpdate();
    for (int i = 0; i < 5; ++i)
        m_tree.RereadAll();
    ProcessEventsFor(200);
    EXPECT_EQ(server.Asked(), WorkshopListings::kMaxWorkersPerFolder);
    EXPECT_EQ(MarkOf(0), WorkshopMark::Reading);

    MakeFolder(shop, QStringLiteral("B2"), QStringLiteral("20260202"));
    server.Release();
    ASSERT_TRUE(WaitForTree(m_tree));
    EXPECT_EQ(server.Asked(), WorkshopListings::kMaxWorkersPerFolder + 1);
    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(0)), QStringList({"A1", "B2"}));
    EXPECT_EQ(MarkOf(0), WorkshopMark::None);
}

} // namespace
