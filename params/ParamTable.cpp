#include "params/Calibration.h"
#include "params/FieldHandlers.h"
#include "params/ParamDescriptor.h"

#include "lang/StringIds.h"

std::uint8_t* ParamDescriptor::fieldIn(Calibration& calibration) const
{
    switch (record) {
    case ParamRecordPart::Param:
        return calibration.param.bytes.data() + offset;
    case ParamRecordPart::Gsm:
        return calibration.gsm.bytes.data() + offset;
    case ParamRecordPart::Owner:
        return calibration.owner.bytes.data() + offset;
    }
    return nullptr;
}

bool ParamDescriptor::isRegistrationNumber() const
{
    return record == ParamRecordPart::Param && offset == ParamRecord::Layout::RegNumberOffset;
}

bool ParamDescriptor::run(ParamMode mode, int row, CGridCtrl& grid, Calibration& calibration) const
{
    const FieldHandler h = handler ? handler : &DefaultFieldHandler;
    return h(mode, type, row, fieldIn(calibration), width, grid, calibration.param);
}

const ParamDescriptor* ParamTable()
{
    using P = ParamRecord::Layout;
    using G = GsmRecord::Layout;
    using O = OwnerRecord::Layout;
    using T = ParamFieldType;
    namespace S = StringId;
    constexpr auto param = ParamRecordPart::Param;
    constexpr auto gsm = ParamRecordPart::Gsm;
    constexpr auto owner = ParamRecordPart::Owner;

    static const ParamDescriptor table[ParamRowCount + 1] = {
        {S::OwnerName, T::WideText, owner, O::NameOffset, O::NameUnits, nullptr, "tag_cname"},
        {S::OwnerAddress, T::WideText, owner, O::AddressOffset, O::AddressUnits, nullptr,
         "tag_address"},
        {S::OwnerPhone, T::WideText, owner, O::PhoneOffset, O::PhoneUnits, nullptr, "tag_phone"},
        {S::VehicleModel, T::WideText, owner, O::ModelOffset, O::ModelUnits, nullptr, "tag_model"},
        {S::SerialNumber, T::UInt32, param, P::SerialOffset, P::SerialWidth, nullptr, "tag_serial"},
        {S::Purpose, T::UInt8, param, P::PurposeOffset, P::PurposeWidth, &PurposeHandler,
         "tag_purpose"},
        {S::Vin, T::Text, param, P::VinOffset, P::VinWidth, nullptr, "tag_vin"},
        {S::Nation, T::UInt8, param, P::NationOffset, P::NationWidth, &NationHandler, "tag_nation"},
        {S::RegistrationNumber, T::Text, param, P::RegNumberOffset, P::RegNumberWidth, nullptr,
         "tag_vnumber"},
        {S::ConstantW, T::UInt16, param, P::ConstantWOffset, P::UInt16Width, nullptr,
         "tag_constantW"},
        {S::ConstantK, T::UInt16, param, P::ConstantKOffset, P::UInt16Width, nullptr,
         "tag_constantK"},
        {S::TyreCircumference, T::UInt16, param, P::TyreCircumferenceOffset, P::UInt16Width,
         nullptr, "tag_tyreL"},
        {S::TyreSize, T::Text, param, P::TyreSizeOffset, P::TyreSizeWidth, nullptr, "tag_tyreS"},
        {S::MaxSpeed, T::UInt8, param, P::MaxSpeedOffset, P::MaxSpeedWidth, nullptr,
         "tag_maxSpeed"},
        {S::Odometer, T::UInt8, param, P::OdometerOffset, P::OdometerWidth, &OdometerHandler,
         "tag_odometer"},
        {S::Imei, T::UInt64, gsm, G::ImeiOffset, G::ImeiWidth, nullptr, "tag_imei"},
        {S::Apn, T::Text, gsm, G::ApnOffset, G::ApnWidth, nullptr, "tag_apn"},
        {S::Login, T::Text, gsm, G::LoginOffset, G::LoginWidth, nullptr, "tag_login"},
        {S::Password, T::Text, gsm, G::PasswordOffset, G::PasswordWidth, nullptr, "tag_password"},
        {S::Host, T::Text, gsm, G::HostOffset, G::HostWidth, nullptr, "tag_host"},
        {S::Port, T::UInt16, gsm, G::PortOffset, G::PortWidth, nullptr, "tag_port"},
        {S::Protocol, T::UInt8, gsm, G::ProtocolOffset, G::ProtocolWidth, &ProtocolHandler,
         "tag_protocol"},
        {S::Period, T::UInt32, gsm, G::PeriodOffset, G::PeriodWidth, &PeriodHandler, "tag_period"},
        {0, ParamFieldType{}, ParamRecordPart::Param, 0, 0, nullptr, nullptr},
    };
    return table;
}
