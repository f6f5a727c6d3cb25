#include "navigation/InspectionDue.h"

#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

#include <gtest/gtest.h>

namespace {

QString stamp(QDate day)
{
    return day.toString(QStringLiteral("yyyyMMdd"));
}

WorkshopEntry workshop(const QString& folder, const QList<QStringList>& vehicleDays)
{
    WorkshopEntry entry;
    entry.folderPath = folder;
    int n = 0;
    for (const QStringList& days : vehicleDays) {
        VehicleEntry vehicle;
        vehicle.name = QStringLiteral("V%1").arg(++n);
        for (const QString& day : days)
            vehicle.dates.push_back(DateEntry{nullptr, day});
        entry.vehicles.push_back(vehicle);
    }
    return entry;
}

TEST(InspectionDueTest, DayNamesAndTwoYearsOn)
{
    const struct {
        const char* name;
        QDate day;
        QDate due;
    } cases[] = {
        {"20240229", QDate(2024, 2, 29), QDate(2026, 2, 28)},
        {"20230301", QDate(2023, 3, 1), QDate(2025, 3, 1)},
        {"20231231", QDate(2023, 12, 31), QDate(2025, 12, 31)},
        {"20230229", {}, {}},
        {"20231301", {}, {}},
        {"2023010", {}, {}},
        {"202301011", {}, {}},
        {"2023-1-01", {}, {}},
        {"backup01", {}, {}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalibrationDayOf(QString::fromLatin1(c.name)), c.day) << c.name;
        EXPECT_EQ(InspectionDueDate(CalibrationDayOf(QString::fromLatin1(c.name))), c.due)
            << c.name;
    }
    EXPECT_EQ(LatestCalibrationDay(
                  {QStringLiteral("20240101"), QStringLiteral("20250101"), QStringLiteral("old")}),
              QDate(2025, 1, 1));
    EXPECT_EQ(LatestCalibrationDay({QStringLiteral("zz"), QStringLiteral("x")}), QDate());
}

TEST(InspectionDueTest, ListsWhatFallsDueBeforeTheDateEarliestFirst)
{
    const QDate today(2026, 12, 9);
    const QDate tomorrow = today.addDays(1);
    WorkshopRegister reg;
    reg.entries().push_back(
        workshop(QStringLiteral("/w/north"),
                 {
                     {stamp(today.addYears(-2))},                            // V1 due today
                     {stamp(tomorrow.addYears(-2))},                         // V2 due tomorrow
                     {stamp(today.addYears(-3)), stamp(today.addYears(-1))}, // V3 calibrated again
                     {QStringLiteral("notes"), stamp(today.addYears(-4))}, // V4 overdue, odd folder
                     {QStringLiteral("notes")},                            // V5 no date at all
                     {},                                                   // V6 no day
                 }));
    // Calibrated on 29 February 2024: due 28 February 2026, overdue by today.
    reg.entries().push_back(workshop(QStringLiteral("/w/south"), {{QStringLiteral("20240229")}}));

    const auto names = [&reg](QDate before) {
        QStringList listed;
        for (const DueVehicle& v : VehiclesDueBefore(reg, before))
            listed.append(v.workshopName + u'/' + v.vehicle + u' ' + stamp(v.due));
        return listed;
    };
    EXPECT_EQ(names(tomorrow),
              (QStringList{QStringLiteral("north/V4 20241209"), QStringLiteral("south/V1 20260228"),
                           QStringLiteral("north/V1 20261209")}));
    EXPECT_EQ(names(tomorrow.addDays(1)).size(), 4);
    EXPECT_EQ(names(tomorrow.addDays(1)).last(), QStringLiteral("north/V2 20261210"));
    EXPECT_EQ(names(QDate(2024, 12, 9)), QStringList());

    const std::vector<DueVehicle> due = VehiclesDueBefore(reg, tomorrow);
    EXPECT_EQ(due.front().lastDayFolder, stamp(today.addYears(-4)));
    EXPECT_EQ(due.front().lastCalibration, today.addYears(-4));
    EXPECT_EQ(due.front().workshopFolder, QStringLiteral("/w/north"));

    // Due today is not overdue yet; due yesterday is.
    EXPECT_EQ(InspectionDueText(today, today), Lang(StringId::DueTooltip).arg(DisplayDate(today)));
    EXPECT_EQ(InspectionDueText(today.addDays(-1), today),
              Lang(StringId::OverdueTooltip).arg(DisplayDate(today.addDays(-1))));
}

} // namespace
