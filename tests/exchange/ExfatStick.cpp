#include "tests/exchange/ExfatStick.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Runs a tool to its end; false, with the tool's words in `failure`, when it failed.
bool run(const QString& program, const QStringList& arguments, QString& failure,
         QString* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        failure = program + u' ' + arguments.join(u' ') + QStringLiteral(": ") +
                  QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    return true;
}

} // namespace

ExfatStick::ExfatStick(const QString& mountPoint) : m_mountPoint(mountPoint)
{
    if (::geteuid() != 0) {
        m_failure = QStringLiteral("not running as root");
        return;
    }
    for (const char* tool : {"losetup", "mkfs.exfat", "mount.exfat-fuse"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
            QStandardPaths::findExecutable(QString::fromLatin1(tool),
                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                .isEmpty()) {
            m_failure = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return;
        }
    }
    const QString image = m_dir.filePath(QStringLiteral("stick.img"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64{64} * 1024 * 1024)) {
        m_failure = QStringLiteral("cannot make the image");
        return;
    }
    file.close();
    if (!run(QStringLiteral("mkfs.exfat"), {image}, m_failure) ||
        !run(QStringLiteral("losetup"), {QStringLiteral("--find"), QStringLiteral("--show"), image},
             m_failure, &m_loop))
        return;
    m_mounted = run(QStringLiteral("mount.exfat-fuse"), {m_loop, m_mountPoint}, m_failure);
}

ExfatStick::~ExfatStick()
{
    QString ignored;
    if (m_mounted)
        run(QStringLiteral("umount"), {m_mountPoint}, ignored);
    if (!m_loop.isEmpty())
        run(QStringLiteral("losetup"), {QStringLiteral("-d"), m_loop}, ignored);
}
