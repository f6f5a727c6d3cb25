#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

// Writes a text file as UTF-8 (no byte order mark) one piece at a time. The pieces are
// gathered and the file is replaced whole through the atomic file writer on close(), so a
// reader never sees half a document and a failed write leaves the previous file in place.
// Write() calls on one writer take turns, each piece kept whole.
class TextFileWriter {
public:
    // The longest piece, in UTF-16 code units and in UTF-8 bytes; a longer one is cut there,
    // never inside a character.
    static constexpr int MaxPiece = 2047;

    // False when the file's folder does not exist, so the file could not be created.
    bool open(const QString& path);
    bool isOpen() const { return !m_path.isEmpty(); }
    // Appends one piece; nothing happens before open().
    void Write(const QString& piece);
    // Replaces the file with the pieces written; false (with the old file kept) on failure.
    // A writer destroyed without close() leaves the disk untouched.
    bool close();

    QString path() const { return m_path; }

private:
    QMutex m_turn;
    QString m_path;
    QByteArray m_content;
};
