#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// The one writer for every file the program replaces (record files, service.txt,
// printer.txt). It writes a temporary file in the same folder, flushes it to disk, renames
// it over the old name and flushes the folder, so an interrupted or failed write leaves the
// previous file whole and is reported as a failure. Once the rename has happened the file
// is replaced: a folder that cannot be flushed afterwards is logged, not reported as a file
// that was not written.
class AtomicFileWriter {
public:
    static bool replace(const QString& path, const QByteArray& content);

    // Makes one folder level (the parent must exist) and flushes the parent folder (a
    // failure of that is logged); false when the folder exists already or cannot be made.
    static bool createFolder(const QString& path, unsigned mode = 0777);
    // Removes a file or an empty folder and flushes the folder that held it (a failure of
    // that is logged): the clean-up after a save that failed half-way. False when it stays.
    static bool remove(const QString& path);

    // One file on its way: its temporary file written whole and flushed, not yet renamed.
    struct Prepared {
        QByteArray temp;
        QByteArray target;
        QByteArray folder;
    };
    // Writes and flushes the temporary file beside `path`; false leaves nothing behind.
    static bool prepare(const QString& path, const QByteArray& content, Prepared& prepared);
    // Renames the temporary file over its target, then flushes the folder (a failure of
    // that is logged). False when the rename failed; the temporary file is then removed.
    static bool commit(const Prepared& prepared);
    // Removes a temporary file that will not be renamed.
    static void discard(const Prepared& prepared);

    // Flushes everything written to the file system that holds the folder `path` onto its
    // medium (syncfs); false when the folder cannot be opened or the flush failed.
    static bool flushFileSystem(const QString& path);

    // Test seam. Every call that can fail while a file is replaced, a folder made, either
    // removed again, or a file system flushed counts as one step, of one of these kinds.
    enum class FaultPoint {
        Any, // every kind below, counted together
        CreateTemporary,
        ChangeMode,
        Write, // each low-level write
        SyncFile,
        Close,
        Rename,
        OpenFolder,
        SyncFolder,
        CreateFolder,
        Remove,          // the clean-up after a failure
        RemoveTemporary, // a temporary file that will not be renamed
        SyncFileSystem,
    };
    // The n-th step of that kind from now on fails (1 = the next one); 0 turns the fault
    // off. Either call restarts the count of steps, so a test can run a saver once to
    // learn stepsTaken() and then fail each position in turn.
    static void failAt(FaultPoint point, int n);
    static void failAtStep(int n) { failAt(FaultPoint::Any, n); }
    // Besides that, every step of this kind fails (Any turns it off): a clean-up that fails
    // after the fault that made it necessary.
    static void failEvery(FaultPoint point);
    static int stepsTaken();
    // The kind of each step taken since the count restarted, in order, so a sweep knows
    // which positions come before the first rename.
    static QList<FaultPoint> stepKinds();
    // The n-th low-level write from now on fails (1 = the next one); 0 turns it off.
    static void failNthWrite(int n);
    // While on, every write writes at most half of what it is given, as a full disk or a
    // signal may make it do.
    static void setShortWrites(bool on);
    // Called with each step's kind before the step is taken, on the thread that takes it, so
    // a test can hold a write as a slow disk would; an empty hook turns it off.
    static void setStepHook(std::function<void(FaultPoint)> hook);
};
