#include "store/WorkshopRegister.h"

#include "store/AtomicFileWriter.h"
#include "store/CalibrationPlace.h"
#include "store/DataFolder.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
// Code units below this end a line of service.txt.
constexpr char16_t kFirstTextUnit = 32;
constexpr char16_t kByteOrderMark = 0xFEFF;

void appendUnit(QByteArray& out, char16_t unit)
{
    std::uint8_t pair[2];
    LittleEndian::write(pair, unit, 2);
    out.append(static_cast<char>(pair[0]));
    out.append(static_cast<char>(pair[1]));
}
} // namespace

WorkshopRegister::LoadResult WorkshopRegister::load(const QString& serviceFile, Records records)
{
    m_entries.clear();
    const QFileInfo info(serviceFile);
    if (!info.exists())
        return LoadResult::Missing;
    if (!info.isFile())
        return LoadResult::NotAFile;
    if (info.size() > kMaxRegisterBytes)
        return LoadResult::TooLarge;
    QFile file(serviceFile);
    if (!file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    // The size is checked again while reading: the file may have grown since.
    const QByteArray data = file.read(kMaxRegisterBytes + 1);
    if (data.size() > kMaxRegisterBytes)
        return LoadResult::TooLarge;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    // An odd last byte is not a whole code unit and is ignored.
    const qsizetype units = data.size() / 2;

    QString line;
    auto closeLine = [this, &line, records] {
        WorkshopEntry entry;
        entry.folderPath = line;
        // A missing or unreadable record leaves the entry's record all zero.
        if (records == Records::Read)
            ReadRecordFile(WorkshopRecordPathOf(line), entry.record.bytes);
        m_entries.push_back(std::move(entry));
        line.clear();
    };
    for (qsizetype i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(LittleEndian::read(bytes + 2 * i, 2));
        // A text editor may have put a byte-order mark before the first path, or before any
        // path when files were joined; a path that began with one could not be saved again.
        if (unit == kByteOrderMark && line.isEmpty())
            continue;
        if (unit >= kFirstTextUnit)
            line.append(QChar(unit));
        else if (!line.isEmpty())
            closeLine();
    }
    if (!line.isEmpty())
        closeLine();
    return LoadResult::Loaded;
}

bool WorkshopRegister::save(const QString& serviceFile) const
{
    QByteArray content;
    for (const WorkshopEntry& entry : m_entries) {
        // A path that the file cannot hold would come back as other paths on the next load.
        if (!canHoldPath(entry.folderPath))
            return false;
        for (const QChar c : entry.folderPath)
            appendUnit(content, c.unicode());
        appendUnit(content, u'\r');
        appendUnit(content, u'\n');
    }
    return AtomicFileWriter::replace(serviceFile, content);
}

bool WorkshopRegister::canHoldPath(const QString& folderPath)
{
    // A leading byte-order mark would be skipped by the next load.
    return !folderPath.isEmpty() && !folderPath.startsWith(QChar(kByteOrderMark)) &&
           std::none_of(folderPath.cbegin(), folderPath.cend(),
                        [](QChar c) { return c < kFirstTextUnit; });
}

VehicleEntry* WorkshopRegister::findVehicleByName(const QString& name)
{
    for (WorkshopEntry& workshop : m_entries) {
        for (VehicleEntry& vehicle : workshop.vehicles) {
            if (vehicle.name.left(kEntryNameChars) == name)
                return &vehicle;
        }
    }
    return nullptr;
}

WorkshopEntry* WorkshopRegister::findByNode(TreeNode node)
{
    // Entries have no node until the tree is built; a null node names none of them.
    if (!node)
        return nullptr;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [node](const WorkshopEntry& e) { return e.node == node; });
    return it == m_entries.end() ? nullptr : &*it;
}

bool WorkshopRegister::removeByNode(TreeNode node)
{
    const WorkshopEntry* entry = findByNode(node);
    if (!entry)
        return false;
    m_entries.erase(m_entries.begin() + (entry - m_entries.data()));
    return true;
}

QString WorkshopRegister::serviceFilePath()
{
    return GetDataFolder() + QStringLiteral("/service.txt");
}

QString ExchangeFolderOf(const QString& workshopFolder)
{
    return JoinPath(workshopFolder, kExchangeFolderName);
}

QString WorkshopRecordPathOf(const QString& workshopFolder)
{
    return JoinPath(ExchangeFolderOf(workshopFolder), kWorkshopFileName);
}
