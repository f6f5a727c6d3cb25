#include "navigation/InspectionDue.h"

#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/WorkshopName.h"
#include "params/FieldText.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/CalibrationPlace.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr qsizetype kDayNameLength = 8;

} // namespace

QDate CalibrationDayOf(QStringView dayName)
{
    if (dayName.size() != kDayNameLength)
        return {};
    for (const QChar c : dayName) {
        if (c < u'0' || c > u'9')
            return {};
    }
    const QDate day(dayName.first(4).toInt(), dayName.sliced(4, 2).toInt(),
                    dayName.sliced(6, 2).toInt());
    return day.isValid() ? day : QDate();
}

QDate InspectionDueDate(QDate calibrated)
{
    // QDate::addYears moves 29 February to 28 February of a common year.
    return calibrated.isValid() ? calibrated.addYears(kInspectionIntervalYears) : QDate();
}

QDate LatestCalibrationDay(const QStringList& dayNames)
{
    QDate latest;
    for (const QString& name : dayNames) {
        const QDate day = CalibrationDayOf(name);
        if (day.isValid() && (!latest.isValid() || day > latest))
            latest = day;
    }
    return latest;
}

std::vector<DueVehicle> VehiclesDueBefore(const WorkshopRegister& reg, QDate before)
{
    std::vector<DueVehicle> due;
    for (const WorkshopEntry& workshop : reg.entries()) {
        const QString workshopName = WorkshopDisplayName(workshop);
        for (const VehicleEntry& vehicle : workshop.vehicles) {
            // The folder names of the days, not the list order: a folder that is no date
            // sorts anywhere.
            const DateEntry* latest = nullptr;
            QDate latestDay;
            for (const DateEntry& date : vehicle.dates) {
                const QDate day = CalibrationDayOf(date.name);
                if (day.isValid() && (!latestDay.isValid() || day > latestDay)) {
                    latestDay = day;
                    latest = &date;
                }
            }
            if (!latest)
                continue;
            const QDate dueDay = InspectionDueDate(latestDay);
            if (dueDay >= before)
                continue;
            DueVehicle row;
            row.workshopFolder = workshop.folderPath;
            row.workshopName = workshopName;
            row.vehicle = vehicle.name;
            row.lastDayFolder = latest->name;
            row.lastCalibration = latestDay;
            row.due = dueDay;
            due.push_back(std::move(row));
        }
    }
    std::stable_sort(due.begin(), due.end(), [](const DueVehicle& a, const DueVehicle& b) {
        return std::tie(a.due, a.workshopName, a.vehicle) <
               std::tie(b.due, b.workshopName, b.vehicle);
    });
    return due;
}

void ReadDueDetails(std::vector<DueVehicle>& vehicles)
{
    for (DueVehicle& row : vehicles) {
        const CalibrationPlace place{row.workshopFolder, row.vehicle, row.lastDayFolder};
        OwnerRecord owner;
        if (ReadCheckedRecordFile(place.ownerFile(), owner.bytes) == RecordFileState::Whole) {
            using O = OwnerRecord::Layout;
            row.owner = DecodeWideText(owner.bytes.data() + O::NameOffset, O::NameUnits);
            row.phone = DecodeWideText(owner.bytes.data() + O::PhoneOffset, O::PhoneUnits);
        }
        ParamRecord param;
        if (ReadCheckedRecordFile(place.paramFile(), param.bytes) == RecordFileState::Whole)
            row.purpose = param.bytes[ParamRecord::Layout::PurposeOffset];
    }
}

QString InspectionDueText(QDate due, QDate today)
{
    return Lang(due < today ? StringId::OverdueTooltip : StringId::DueTooltip)
        .arg(DisplayDate(due));
}
