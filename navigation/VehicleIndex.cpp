#include "navigation/VehicleIndex.h"

#include "navigation/BranchReader.h"
#include "params/FieldText.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/CalibrationPlace.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QFileInfo>

VehicleIndex::VehicleIndex(QObject* parent) : QObject(parent)
{
    m_worker = std::jthread([this](const std::stop_token& stop) { work(stop); });
}

VehicleIndex::~VehicleIndex()
{
    // The worker finishes the vehicle it is reading and stops; whatever it posted after that
    // goes with this object.
    m_worker.request_stop();
    m_wake.notify_all();
}

void VehicleIndex::readAll(const QStringList& workshopFolders)
{
    retain(workshopFolders);
    {
        // Reads still waiting are covered by these.
        const std::lock_guard lock(m_mutex);
        m_pending -= int(m_requests.size());
        m_requests.clear();
    }
    for (const QString& folder : workshopFolders)
        enqueue({folder, {}});
}

void VehicleIndex::read(const QString& workshopFolder, const QString& vehicle)
{
    enqueue({workshopFolder, vehicle});
}

void VehicleIndex::retain(const QStringList& workshopFolders)
{
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        if (workshopFolders.contains(it.key()))
            ++it;
        else
            it = m_keys.erase(it);
    }
}

const FindKeys* VehicleIndex::keysOf(const QString& workshopFolder, const QString& vehicle) const
{
    const auto workshop = m_keys.constFind(workshopFolder);
    if (workshop == m_keys.constEnd())
        return nullptr;
    const auto keys = workshop->constFind(vehicle);
    return keys == workshop->constEnd() ? nullptr : &*keys;
}

FindKeys VehicleIndex::readVehicle(const QString& vehicleFolder)
{
    ParamRecord param;
    OwnerRecord owner;
    const QStringList days = ListSubfolders(vehicleFolder);
    // A damaged record still shows what can be read of it, and so is found by it too.
    if (!days.isEmpty())
        ReadCheckedRecordFile(JoinPath(JoinPath(vehicleFolder, days.last()), kParamFileName),
                              param.bytes);
    ReadCheckedRecordFile(JoinPath(vehicleFolder, kOwnerFileName), owner.bytes);
    using P = ParamRecord::Layout;
    using O = OwnerRecord::Layout;
    FindKeys keys =
        FindKeys::fold(vehicleFolder.section(u'/', -1),
                       DecodeSingleByteText(param.bytes.data() + P::VinOffset, P::VinWidth),
                       DecodeWideText(owner.bytes.data() + O::NameOffset, O::NameUnits),
                       DecodeWideText(owner.bytes.data() + O::PhoneOffset, O::PhoneUnits));
    keys.purpose = param.bytes[P::PurposeOffset];
    return keys;
}

void VehicleIndex::enqueue(Request request)
{
    ++m_pending;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(std::move(request));
    }
    m_wake.notify_one();
}

void VehicleIndex::work(const std::stop_token& stop)
{
    while (!stop.stop_requested()) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_requests.empty(); }))
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        const QString exchange = ExchangeFolderOf(request.workshop);
        const QStringList vehicles =
            request.vehicle.isEmpty() ? ListSubfolders(exchange) : QStringList{request.vehicle};
        VehicleKeys keys;
        for (const QString& vehicle : vehicles) {
            if (stop.stop_requested())
                return;
            const QString folder = JoinPath(exchange, vehicle);
            // A vehicle read alone may just have been deleted.
            if (request.vehicle.isEmpty() || QFileInfo(folder).isDir())
                keys.insert(vehicle, readVehicle(folder));
        }
        QMetaObject::invokeMethod(
            this, [this, request, keys] { apply(request, keys); }, Qt::QueuedConnection);
    }
}

void VehicleIndex::apply(const Request& request, const VehicleKeys& keys)
{
    --m_pending;
    if (request.vehicle.isEmpty()) {
        m_keys.insert(request.workshop, keys);
    } else {
        VehicleKeys& workshop = m_keys[request.workshop];
        workshop.remove(request.vehicle);
        workshop.insert(keys);
    }
    emit updated();
}
