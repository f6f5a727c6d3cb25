#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Files that belong together (the three files of one calibration) and are replaced
// together: every file is first written whole to a temporary file beside its target and
// synced; only when all of them are on disk are they renamed over their targets, in the
// order added. A failure before the renames changes nothing and leaves no temporary file;
// a failure between renames leaves the first `renamed` files new and the rest old, which
// the caller reports.
class AtomicFileGroup {
public:
    void add(const QString& path, const QByteArray& content);

    struct Outcome {
        bool ok = false;
        // How many of the files, in the order added, were replaced.
        qsizetype renamed = 0;
        // The file whose write or rename failed; -1 when all were replaced.
        qsizetype failedIndex = -1;
    };
    Outcome commit();

    qsizetype size() const { return m_files.size(); }
    QString path(qsizetype index) const { return m_files.at(index).path; }

private:
    struct File {
        QString path;
        QByteArray content;
    };
    QList<File> m_files;
};
