#include "navigation/CalibrationHistory.h"

#include "lang/DisplayDate.h"
#include "navigation/BranchReader.h"
#include "params/FieldText.h"
#include "params/ValueLists.h"
#include "store/CalibrationPlace.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"

#include <algorithm>

namespace CalibrationHistory {

std::vector<Entry> Read(const QString& vehicleFolder)
{
    const QStringList days = ListSubfolders(vehicleFolder);
    std::vector<Entry> entries;
    entries.reserve(std::size_t(days.size()));
    // The listing is oldest first.
    for (qsizetype i = days.size() - 1; i >= 0; --i) {
        const QString& day = days.at(i);
        Entry entry{day, {}, RecordFileState::Missing};
        entry.state = ReadCheckedRecordFile(JoinPath(JoinPath(vehicleFolder, day), kParamFileName),
                                            entry.param.bytes);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool HasValues(const Entry& entry)
{
    return entry.state != RecordFileState::Missing && entry.state != RecordFileState::Unreadable;
}

QString CellText(const Entry& entry, int column)
{
    if (column == Date)
        return DisplayDayStamp(entry.day);
    if (!HasValues(entry))
        return {};
    using P = ParamRecord::Layout;
    const std::uint8_t* bytes = entry.param.bytes.data();
    const auto number = [bytes](std::size_t offset, std::size_t width) {
        return QString::number(LittleEndian::read(bytes + offset, width));
    };
    switch (column) {
    case Purpose: {
        const std::uint8_t code = bytes[P::PurposeOffset];
        const QString label = ValueLabel(QStringLiteral("purpose"), code);
        return label.isEmpty() ? QString::number(code) : label;
    }
    case W:
        return number(P::ConstantWOffset, P::UInt16Width);
    case K:
        return number(P::ConstantKOffset, P::UInt16Width);
    case L:
        return number(P::TyreCircumferenceOffset, P::UInt16Width);
    case TyreSize:
        return DecodeSingleByteText(bytes + P::TyreSizeOffset, P::TyreSizeWidth);
    case Odometer:
        return number(P::OdometerOffset, P::OdometerWidth);
    case Speed:
        return number(P::MaxSpeedOffset, P::MaxSpeedWidth);
    default:
        return {};
    }
}

} // namespace CalibrationHistory
