#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A workshop folder on a file server, as workshops keep it: a private Samba server (smbd with
// its own configuration, folders and user, listening on 127.0.0.1 only, on a free port),
// whose share is mounted through the FUSE SMB client smbnetfs. Everything is stopped and
// unmounted on destruction. Needs root, smbd, smbpasswd, smbnetfs and /dev/fuse.
class SambaShare {
public:
    SambaShare();
    ~SambaShare();
    SambaShare(const SambaShare&) = delete;
    SambaShare& operator=(const SambaShare&) = delete;

    // Empty when the share is mounted; otherwise why it could not be.
    QString failure() const { return m_failure; }
    // Which of the parts needed is not on this machine; empty when all are.
    static QString missingPart();

    // The share's root as the workstations see it, through the mount.
    QString folder() const { return m_folder; }

private:
    bool StartServer();
    bool Mount();

    QTemporaryDir m_dir;
    QProcess m_smbd;
    QProcess m_client;
    QString m_mountPoint;
    QString m_folder;
    int m_port = 0;
    QString m_failure;
};
