#include "store/CalibrationPlace.h"

#include "store/FolderOps.h"
#include "store/WorkshopRegister.h"

QString JoinPath(const QString& folder, const QString& name)
{
    return folder + u'/' + name;
}

QString VehicleFolderOf(const QString& workshopFolder, const QString& vehicle)
{
    return JoinPath(ExchangeFolderOf(workshopFolder), vehicle);
}

QString CalibrationPlace::vehicleFolder() const
{
    return VehicleFolderOf(workshopFolder, vehicle);
}

QString CalibrationPlace::dayFolder() const
{
    return JoinPath(vehicleFolder(), day);
}

QString CalibrationPlace::paramFile() const
{
    return JoinPath(dayFolder(), kParamFileName);
}

QString CalibrationPlace::gsmFile() const
{
    return JoinPath(dayFolder(), kGsmFileName);
}

QString CalibrationPlace::ownerFile() const
{
    return JoinPath(vehicleFolder(), kOwnerFileName);
}
