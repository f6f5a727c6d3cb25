#include "exchange/CalibrationStore.h"
#include "store/AtomicFileWriter.h"
#include "store/WorkshopRegister.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

// The writer's own calls to fsync() and rename() come here first: this executable's
// definitions win over the C library's, which they then call. So the test sees the calls
// that really reach the system, not the steps the writer counts.
namespace {

bool g_recording = false;
QStringList g_calls;

QString PathOf(int fd)
{
    char target[PATH_MAX] = {};
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t size = ::readlink(link.constData(), target, sizeof target - 1);
    return size > 0 ? QFile::decodeName(QByteArray(target, size)) : QString();
}

template <typename Fn> Fn Real(const char* name)
{
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

} // namespace

// Their parameters are named apart from the C library's headers.
// NOLINTBEGIN(readability-inconsistent-declaration-parameter-name)
extern "C" int fsync(int fd)
{
    static const auto real = Real<int (*)(int)>("fsync");
    if (g_recording)
        g_calls << QStringLiteral("fsync ") + PathOf(fd);
    return real(fd);
}

extern "C" int rename(const char* from, const char* to)
{
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    if (g_recording)
        g_calls << QStringLiteral("rename ") + QFile::decodeName(from) + QStringLiteral(" > ") +
                       QFile::decodeName(to);
    return real(from, to);
}
// NOLINTEND(readability-inconsistent-declaration-parameter-name)

namespace {

struct Recording {
    Recording()
    {
        g_calls.clear();
        g_recording = true;
    }
    ~Recording() { g_recording = false; }
};

// Index of the first call that starts with `prefix`, or -1.
qsizetype Find(const QString& prefix)
{
    for (qsizetype i = 0; i < g_calls.size(); ++i)
        if (g_calls[i].startsWith(prefix))
            return i;
    return -1;
}

} // namespace

// Each new file is on the disk before its name replaces the old file, and the folder's new
// entry after: a power cut then leaves the old file or the new one, never an empty one.
TEST(DurableWrite, everyNewFileIsSyncedBeforeAnyRenameAndItsFolderAfter)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("printer.txt"));
    {
        const Recording recording;
        ASSERT_TRUE(AtomicFileWriter::replace(target, "old"));
        ASSERT_TRUE(AtomicFileWriter::replace(target, "new"));
    }
    const qsizetype rename = Find(QStringLiteral("rename "));
    ASSERT_GE(rename, 0) << g_calls.join(u'\n').toStdString();
    const QString temp = g_calls[rename].mid(7).section(QStringLiteral(" > "), 0, 0);
    EXPECT_TRUE(g_calls[rename].endsWith(QStringLiteral(" > ") + target));
    const qsizetype fileSync = Find(QStringLiteral("fsync ") + temp);
    EXPECT_GE(fileSync, 0) << g_calls.join(u'\n').toStdString();
    EXPECT_LT(fileSync, rename);
    EXPECT_EQ(g_calls.indexOf(QStringLiteral("fsync ") + dir.path(), rename), rename + 1);

    // A calibration's three files are all on the disk before the first of them is renamed.
    ASSERT_TRUE(QDir().mkpath(ExchangeFolderOf(dir.filePath(QStringLiteral("shop")))));
    Calibration calibration;
    calibration.place = {dir.filePath(QStringLiteral("shop")), QStringLiteral("A1"),
                         QStringLiteral("20261209")};
    {
        const Recording recording;
        ASSERT_TRUE(StoreCalibration(calibration).saved);
    }
    const qsizetype firstRename = Find(QStringLiteral("rename "));
    ASSERT_GE(firstRename, 0);
    qsizetype renames = 0;
    for (const QString& call : g_calls) {
        if (!call.startsWith(QStringLiteral("rename ")))
            continue;
        ++renames;
        const QString from = call.mid(7).section(QStringLiteral(" > "), 0, 0);
        const qsizetype synced = g_calls.indexOf(QStringLiteral("fsync ") + from);
        EXPECT_GE(synced, 0) << from.toStdString();
        EXPECT_LT(synced, firstRename) << from.toStdString();
    }
    EXPECT_EQ(renames, 3);
}
