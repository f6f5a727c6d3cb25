#pragma once

#include "params/FieldText.h"
#include "reports/CalibrationXml.h"
#include "store/LittleEndian.h"

#include <cstring>

// A calibration record with a value in every field the documents show.
inline CalibrationDocument FilledDocument()
{
    using P = ParamRecord::Layout;
    using G = GsmRecord::Layout;
    using O = OwnerRecord::Layout;
    CalibrationDocument doc;
    doc.vehicle = QStringLiteral("A123BC");
    std::uint8_t* p = doc.param.bytes.data();
    p[P::PurposeOffset] = 4; // periodic inspection
    std::memcpy(p + P::VinOffset, "WDB9634031L123456", P::VinWidth);
    p[P::NationOffset] = 43; // Russian Federation
    std::memcpy(p + P::RegNumberOffset, "A123BC", 6);
    LittleEndian::write(p + P::ConstantWOffset, 8000, P::UInt16Width);
    LittleEndian::write(p + P::ConstantKOffset, 8001, P::UInt16Width);
    LittleEndian::write(p + P::TyreCircumferenceOffset, 3250, P::UInt16Width);
    std::memcpy(p + P::TyreSizeOffset, "315/80 R22.5", 12);
    p[P::MaxSpeedOffset] = 90;
    p[P::OdometerOffset] = 0x7F; // 0x98967F = 9999999, least significant byte first
    p[P::OdometerOffset + 1] = 0x96;
    p[P::OdometerOffset + 2] = 0x98;
    LittleEndian::write(p + P::SerialOffset, 4000000001u, P::SerialWidth);

    std::uint8_t* g = doc.gsm.bytes.data();
    std::memcpy(g + G::ApnOffset, "internet.example", 16);
    std::memcpy(g + G::LoginOffset, "fleet", 5);
    std::memcpy(g + G::PasswordOffset, "s3cret", 6);
    std::memcpy(g + G::HostOffset, "data.example.org", 16);
    LittleEndian::write(g + G::PortOffset, 5055, G::PortWidth);
    g[G::ProtocolOffset] = 7; // outside the list
    LittleEndian::write(g + G::PeriodOffset, 0, G::PeriodWidth);
    LittleEndian::write(g + G::ImeiOffset, 356938035643809ull, G::ImeiWidth);

    std::uint8_t* o = doc.owner.bytes.data();
    EncodeWideText(QStringLiteral("ООО «Грузовик»"), o + O::NameOffset, O::NameUnits);
    EncodeWideText(QStringLiteral("Москва, ул. Ленина, 1"), o + O::AddressOffset, O::AddressUnits);
    EncodeWideText(QStringLiteral("+7 495 000-00-00"), o + O::PhoneOffset, O::PhoneUnits);
    EncodeWideText(QStringLiteral("КАМАЗ 5490"), o + O::ModelOffset, O::ModelUnits);

    doc.workshop.setField(WorkshopRecord::Field::Name, QStringLiteral("Тахосервис"));
    doc.workshop.setField(WorkshopRecord::Field::Address, QStringLiteral("Тверь, ул. Мира, 5"));
    doc.workshop.setField(WorkshopRecord::Field::Phone, QStringLiteral("+7 4822 11-22-33"));
    doc.workshop.setField(WorkshopRecord::Field::Index, QStringLiteral("170100"));
    doc.stylesheet = QStringLiteral("/opt/velmora/printer_view.xslt");
    return doc;
}
