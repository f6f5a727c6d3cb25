#include "store/AtomicFileGroup.h"

#include "store/AtomicFileWriter.h"

void AtomicFileGroup::add(const QString& path, const QByteArray& content)
{
    m_files.append({path, content});
}

AtomicFileGroup::Outcome AtomicFileGroup::commit()
{
    QList<AtomicFileWriter::Prepared> prepared;
    prepared.reserve(m_files.size());
    for (qsizetype i = 0; i < m_files.size(); ++i) {
        AtomicFileWriter::Prepared file;
        if (!AtomicFileWriter::prepare(m_files.at(i).path, m_files.at(i).content, file)) {
            for (const AtomicFileWriter::Prepared& written : prepared)
                AtomicFileWriter::discard(written);
            return {false, 0, i};
        }
        prepared.append(file);
    }
    for (qsizetype i = 0; i < prepared.size(); ++i) {
        if (!AtomicFileWriter::commit(prepared.at(i))) {
            for (qsizetype j = i + 1; j < prepared.size(); ++j)
                AtomicFileWriter::discard(prepared.at(j));
            return {false, i, i};
        }
    }
    return {true, prepared.size(), -1};
}
