#include "tests/exchange/SambaShare.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kUser = QStringLiteral("root");
const QString kPassword = QStringLiteral("velmora-test");
constexpr int kStartMs = 20000;

QString FindTool(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(
                                 name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                           : found;
}

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port on 127.0.0.1 that no one listens on now.
int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool Answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool WriteText(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

QString SambaShare::missingPart()
{
    for (const QString& tool :
         {QStringLiteral("smbd"), QStringLiteral("smbpasswd"), QStringLiteral("smbnetfs")}) {
        if (FindTool(tool).isEmpty())
            return tool;
    }
    if (!QFileInfo::exists(QStringLiteral("/dev/fuse")))
        return QStringLiteral("/dev/fuse");
    if (::geteuid() != 0)
        return QStringLiteral("root");
    return {};
}

SambaShare::SambaShare()
{
    m_failure = missingPart();
    if (!m_failure.isEmpty()) {
        m_failure += QStringLiteral(" is missing");
        return;
    }
    if (StartServer())
        Mount();
}

bool SambaShare::StartServer()
{
    const QDir root(m_dir.path());
    for (const char* folder :
         {"share", "private", "state", "lock", "cache", "pid", "ncalrpc", "mnt", "home/.smb"})
        root.mkpath(QString::fromLatin1(folder));
    m_port = FreePort();
    const QString conf = root.filePath(QStringLiteral("smb.conf"));
    QString text = QStringLiteral("[global]\n"
                                  "netbios name = VELMORATEST\n"
                                  "server role = standalone server\n"
                                  "interfaces = 127.0.0.1\n"
                                  "bind interfaces only = yes\n"
                                  "disable netbios = yes\n"
                                  "server min protocol = SMB2\n"
                                  "smb ports = %1\n"
                                  "load printers = no\n"
                                  "printcap name = /dev/null\n"
                                  "disable spoolss = yes\n")
                       .arg(m_port);
    for (const char* key : {"private dir", "state directory", "lock directory", "cache directory",
                            "pid directory", "ncalrpc dir"})
        text += QStringLiteral("%1 = %2\n")
                    .arg(QString::fromLatin1(key),
                         root.filePath(QString::fromLatin1(key).section(u' ', 0, 0)));
    text += QStringLiteral("passdb backend = tdbsam:%1\n"
                           "log file = %2\n"
                           "[share]\n"
                           "path = %3\n"
                           "read only = no\n"
                           "valid users = %4\n")
                .arg(root.filePath(QStringLiteral("private/passdb.tdb")),
                     root.filePath(QStringLiteral("smbd.log")),
                     root.filePath(QStringLiteral("share")), kUser);
    if (!WriteText(conf, text)) {
        m_failure = QStringLiteral("cannot write %1").arg(conf);
        return false;
    }

    QProcess passwords;
    passwords.start(
        FindTool(QStringLiteral("smbpasswd")),
        {QStringLiteral("-c"), conf, QStringLiteral("-a"), QStringLiteral("-s"), kUser});
    passwords.write((kPassword + u'\n' + kPassword + u'\n').toUtf8());
    passwords.closeWriteChannel();
    if (!passwords.waitForFinished(kStartMs) || passwords.exitCode() != 0) {
        m_failure = QStringLiteral("smbpasswd: ") +
                    QString::fromLocal8Bit(passwords.readAllStandardError()).trimmed();
        return false;
    }

    m_smbd.setProcessChannelMode(QProcess::MergedChannels);
    // In a process group of its own: at its end smbd ends the whole group it runs in.
    m_smbd.start(FindTool(QStringLiteral("smbd")),
                 {QStringLiteral("--foreground"), QStringLiteral("--configfile=") + conf});
    const QDeadlineTimer deadline(kStartMs);
    while (!Answers(m_port)) {
        if (m_smbd.state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_failure = QStringLiteral("smbd did not start: ") +
                        QString::fromLocal8Bit(m_smbd.readAll()).trimmed();
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool SambaShare::Mount()
{
    // The client's own settings: the server's port, and the user to log in as.
    const QDir home(m_dir.filePath(QStringLiteral("home")));
    if (!WriteText(
            home.filePath(QStringLiteral(".smb/smb.conf")),
            QStringLiteral("[global]\nclient min protocol = SMB2\ndisable netbios = yes\n")) ||
        !WriteText(home.filePath(QStringLiteral(".smb/smbnetfs.conf")),
                   QStringLiteral("auth \"127.0.0.1\" \"%1\" \"%2\"\n"
                                  "smb_query_browsers \"false\"\n")
                       .arg(kUser, kPassword)) ||
        !QFile::setPermissions(home.filePath(QStringLiteral(".smb/smbnetfs.conf")),
                               QFile::ReadOwner | QFile::WriteOwner)) {
        m_failure = QStringLiteral("cannot write the smbnetfs configuration");
        return false;
    }
    m_mountPoint = m_dir.filePath(QStringLiteral("mnt"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    m_client.setProcessEnvironment(environment);
    m_client.setProcessChannelMode(QProcess::MergedChannels);
    m_client.start(FindTool(QStringLiteral("smbnetfs")), {m_mountPoint, QStringLiteral("-f")});
    // smbnetfs shows every server as a folder named by host (and port) under the mount.
    m_folder = m_mountPoint + QStringLiteral("/127.0.0.1:%1/share").arg(m_port);
    const QDeadlineTimer deadline(kStartMs);
    while (!QFileInfo(m_folder).isDir()) {
        if (m_client.state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_failure = QStringLiteral("smbnetfs did not mount the share: ") +
                        QString::fromLocal8Bit(m_client.readAll()).trimmed();
            m_folder.clear();
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

SambaShare::~SambaShare()
{
    if (m_client.state() != QProcess::NotRunning) {
        QProcess::execute(FindTool(QStringLiteral("fusermount")),
                          {QStringLiteral("-u"), m_mountPoint});
        m_client.terminate();
        if (!m_client.waitForFinished(10000))
            m_client.kill();
        m_client.waitForFinished();
    }
    if (m_smbd.state() != QProcess::NotRunning) {
        m_smbd.terminate();
        if (!m_smbd.waitForFinished(10000))
            m_smbd.kill();
        m_smbd.waitForFinished();
    }
}
