#include "exchange/CalibrationImport.h"
#include "fuzz/FuzzCheck.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/stat.h>

// A drive's exchange folder of any shape merged into a workshop folder that already holds
// files: every plain file of the drive arrives byte for byte unless the report names it,
// nothing that was there is lost or changed unless a drive file replaced it, and links or
// pipes on the drive are never followed or copied.
namespace {

enum Op : std::uint8_t { MakeFolder, MakeFile, MakeLink, MakePipe, GoUp, Count };

// Folders nest up to this many levels below the root.
constexpr int kDepth = 12;

// A name of one to eight characters, never "." or "..", taken from a small alphabet that
// still has spaces, dots, non-ASCII text, a leading dot and names that begin with a
// sibling's whole name ("A1" and "A10").
QString NameFrom(Fuzz::Input& in)
{
    static const QString alphabet = QStringLiteral("AB1 ._-Жé0");
    QString name;
    for (int length = in.byte() % 8 + 1; length > 0; --length)
        name.append(alphabet.at(in.byte() % alphabet.size()));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name.append(u'x');
    return name;
}

// Builds a tree of at most `ops` entries under `root` from the input. Links are made only
// when `outside` is given: a link the user put into the workshop folder is theirs to follow,
// and the writer does follow it.
void Build(Fuzz::Input& in, const QString& root, const QString& outside, int ops)
{
    QStringList path{root};
    for (int i = 0; i < ops; ++i) {
        const QString at = path.join(u'/') + u'/' + NameFrom(in);
        if (QFileInfo::exists(at) || QFileInfo(at).isSymLink())
            continue;
        switch (in.byte() % Count) {
        case MakeFolder:
            if (QDir().mkdir(at) && path.size() < kDepth)
                path << QFileInfo(at).fileName();
            break;
        case MakeFile: {
            QFile file(at);
            FUZZ_CHECK(file.open(QIODevice::WriteOnly));
            QByteArray content;
            for (int n = in.byte(); n > 0; --n)
                content.append(static_cast<char>(in.byte()));
            file.write(content);
            break;
        }
        case MakeLink:
            if (!outside.isEmpty())
                QFile::link(in.byte() % 2 ? outside : QFileInfo(outside).path(), at);
            break;
        case MakePipe:
            ::mkfifo(QFile::encodeName(at).constData(), 0600);
            break;
        case GoUp:
            if (path.size() > 1)
                path.removeLast();
            break;
        }
    }
}

struct Entry {
    bool folder = false;
    bool plain = true; // not a link, pipe or other special file
    QByteArray content;
};

// Every entry below `root` by relative path, links not followed.
QMap<QString, Entry> Snapshot(const QString& root)
{
    QMap<QString, Entry> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        Entry entry;
        entry.plain = !info.isSymLink() && (info.isDir() || info.isFile());
        entry.folder = entry.plain && info.isDir();
        if (entry.plain && !entry.folder) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                entry.content = file.readAll();
        }
        entries.insert(QDir(root).relativeFilePath(path), entry);
    }
    return entries;
}

// Whether the relative path lies at or below one that the report names.
bool Reported(const QString& relative, const QString& root, const TransferReport& report)
{
    const QString full = root + u'/' + relative;
    for (const QStringList* list :
         {&report.foldersNotCreated, &report.filesNotWritten, &report.skipped}) {
        for (const QString& entry : *list) {
            // Failures carry the system's reason after the path.
            const QString named = entry.section(QStringLiteral(" \u2014 "), 0, 0);
            if (full == named || full.startsWith(named + u'/'))
                return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::StartCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QTemporaryDir run(Fuzz::ScratchPath(QStringLiteral("run-XXXXXX")));
    const QString drive = run.filePath(QStringLiteral("drive/RX902"));
    const QString shop = run.filePath(QStringLiteral("shop/RX902"));
    const QString outside = run.filePath(QStringLiteral("outside/secret.bin"));
    FUZZ_CHECK(QDir().mkpath(drive) && QDir().mkpath(shop) &&
               QDir().mkpath(QFileInfo(outside).path()));
    {
        QFile secret(outside);
        FUZZ_CHECK(secret.open(QIODevice::WriteOnly) && secret.write("secret") == 6);
    }
    Fuzz::Input in(data, size);
    Build(in, shop, QString(), in.byte() % 16);
    Build(in, drive, outside, 64);

    const QMap<QString, Entry> source = Snapshot(drive);
    const QMap<QString, Entry> before = Snapshot(shop);
    const TransferReport report = CalibrationImport(drive, shop).run();
    const QMap<QString, Entry> after = Snapshot(shop);

    int files = 0;
    for (auto it = source.cbegin(); it != source.cend(); ++it) {
        // Below a link or pipe nothing is listed, so every entry here is reached plainly.
        const bool inside = !Reported(it.key(), shop, report);
        if (!it->plain) {
            FUZZ_CHECK(report.skipped.contains(drive + u'/' + it.key()));
            FUZZ_CHECK(!after.contains(it.key()) || before.contains(it.key()));
            continue;
        }
        if (!it->folder)
            ++files;
        if (!inside)
            continue;
        // A folder is made only for a file copied into it.
        if (it->folder) {
            FUZZ_CHECK(!after.contains(it.key()) || after[it.key()].folder ||
                       before.contains(it.key()));
            continue;
        }
        const QString from = drive + u'/' + it.key();
        const bool refused =
            std::any_of(report.recordsRefused.cbegin(), report.recordsRefused.cend(),
                        [&from](const RecordFault& fault) { return fault.path == from; });
        if (refused) {
            FUZZ_CHECK(RecordPayloadSizeOf(QFileInfo(from).fileName()) != 0);
            FUZZ_CHECK(!after.contains(it.key()) || before.contains(it.key()));
            continue;
        }
        FUZZ_CHECK(after.contains(it.key()));
        FUZZ_CHECK(!after[it.key()].folder);
        FUZZ_CHECK(after[it.key()].content == it->content);
    }
    FUZZ_CHECK(report.total == files);
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        // Nothing new but what came from the drive; nothing old changed unless replaced.
        FUZZ_CHECK(source.contains(it.key()) || before.contains(it.key()));
        if (!source.contains(it.key()) || !source[it.key()].plain)
            FUZZ_CHECK(before[it.key()].content == it->content &&
                       before[it.key()].plain == it->plain);
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        FUZZ_CHECK(after.contains(it.key()));
    QFile secret(outside);
    FUZZ_CHECK(secret.open(QIODevice::ReadOnly) && secret.readAll() == "secret");
    return 0;
}
