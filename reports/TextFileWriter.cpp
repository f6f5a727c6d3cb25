#include "reports/TextFileWriter.h"

#include "store/AtomicFileWriter.h"
#include "store/WideText.h"

#include <QFileInfo>
#include <QMutexLocker>

namespace {

// The first `limit` bytes of UTF-8, ending before a continuation byte.
QByteArray cutUtf8(QByteArray bytes, int limit)
{
    if (bytes.size() <= limit)
        return bytes;
    int end = limit;
    while (end > 0 && (static_cast<unsigned char>(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return bytes;
}

} // namespace

bool TextFileWriter::open(const QString& path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return false;
    m_path = path;
    m_content.clear();
    return true;
}

void TextFileWriter::Write(const QString& piece)
{
    QMutexLocker turn(&m_turn);
    if (isOpen())
        m_content += cutUtf8(CutUnits(piece, MaxPiece).toUtf8(), MaxPiece);
}

bool TextFileWriter::close()
{
    QMutexLocker turn(&m_turn);
    if (!isOpen())
        return false;
    const bool written = AtomicFileWriter::replace(m_path, m_content);
    m_path.clear();
    m_content.clear();
    return written;
}
