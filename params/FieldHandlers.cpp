#include "params/FieldHandlers.h"

#include "params/FieldText.h"
#include "params/NumberText.h"
#include "params/RegistrationNumber.h"

#include "gridctrl/CGridCtrl.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/LittleEndian.h"

#include <array>

namespace {

constexpr int ValueColumn = 1;

// Why a text would be refused; `limit` is the largest value or the width that was exceeded.
struct Refusal {
    enum Kind {
        None,
        NotANumber,
        TooLarge,
        TooLong,
        TooManyUnits,
        ZeroCharacter,
        Number, // the registration number's own rules; `number` says which
    } kind = None;
    std::uint64_t limit = 0;
    RegistrationNumberFault number = RegistrationNumberFault::None;
};

bool isNumber(ParamFieldType type)
{
    return type == ParamFieldType::UInt8 || type == ParamFieldType::UInt16 ||
           type == ParamFieldType::UInt32 || type == ParamFieldType::UInt64;
}

bool isRegistrationNumber(const std::uint8_t* field, const ParamRecord& param)
{
    return field == param.bytes.data() + ParamRecord::Layout::RegNumberOffset;
}

Refusal defaultRefusal(ParamFieldType type, bool registrationNumber, std::uint32_t width,
                       const QString& text)
{
    // A zero would end the text in the record: what follows it would be lost.
    if ((type == ParamFieldType::Text || type == ParamFieldType::WideText) &&
        text.contains(QChar(0)))
        return {Refusal::ZeroCharacter, 0};
    if (registrationNumber) {
        // An empty number may be typed; the save asks for one. Blanks that the field cannot
        // hold would leave the old number in the record behind what the screen shows.
        const RegistrationNumberFault fault = CheckRegistrationNumber(text);
        if (fault == RegistrationNumberFault::None)
            return {};
        if (fault == RegistrationNumberFault::Missing) {
            std::array<std::uint8_t, ParamRecord::Layout::RegNumberWidth> scratch{};
            std::uint8_t page = 0;
            if (EncodeRegistrationNumber(text, scratch.data(), scratch.size(), page))
                return {};
            return {Refusal::TooLong, width};
        }
        return {Refusal::Number, 0, fault};
    }
    if (type == ParamFieldType::Text && !Utf8TextFits(text, width))
        return {Refusal::TooLong, width};
    if (type == ParamFieldType::WideText && static_cast<std::uint64_t>(text.size()) > width)
        return {Refusal::TooManyUnits, width};
    if (isNumber(type)) {
        const std::uint64_t max = MaxValueOfWidth(width);
        if (ParseDigits(text, MaxValueOfWidth(8)) && !ParseDigits(text, max))
            return {Refusal::TooLarge, max};
        if (!ParseDigits(text, max))
            return {Refusal::NotANumber, 0};
    }
    return {};
}

Refusal odometerRefusal(const QString& text)
{
    if (!ParseDigitsClamped(text, OdometerMax))
        return {Refusal::NotANumber, 0};
    return {};
}

std::uint8_t& codePageByte(ParamRecord& param)
{
    return param.bytes[ParamRecord::Layout::CodePageOffset];
}

QString singleByteText(const std::uint8_t* field, std::uint32_t width, ParamRecord& param)
{
    // The registration number is read in the code page its record names in the byte before it.
    if (isRegistrationNumber(field, param))
        return DecodeRegistrationNumber(field, width, codePageByte(param));
    return DecodeSingleByteText(field, width);
}

QString fieldText(ParamFieldType type, const std::uint8_t* field, std::uint32_t width,
                  ParamRecord& param)
{
    switch (type) {
    case ParamFieldType::Text:
        return singleByteText(field, width, param);
    case ParamFieldType::WideText:
        return DecodeWideText(field, width);
    case ParamFieldType::UInt8:
    case ParamFieldType::UInt16:
    case ParamFieldType::UInt32:
    case ParamFieldType::UInt64:
        return QString::number(LittleEndian::read(field, width));
    }
    return {};
}

void storeText(ParamFieldType type, const QString& text, std::uint8_t* field, std::uint32_t width,
               ParamRecord& param)
{
    switch (type) {
    case ParamFieldType::Text:
        // An unchanged text keeps its bytes, so a number written by the tachograph in its
        // own code page goes back as it came.
        if (text == singleByteText(field, width, param))
            return;
        if (isRegistrationNumber(field, param))
            EncodeRegistrationNumber(text, field, width, codePageByte(param));
        else
            EncodeUtf8Text(text, field, width);
        return;
    case ParamFieldType::WideText:
        EncodeWideText(text, field, width);
        return;
    case ParamFieldType::UInt8:
    case ParamFieldType::UInt16:
    case ParamFieldType::UInt32:
    case ParamFieldType::UInt64:
        if (const auto value = ParseDigits(text, MaxValueOfWidth(width)))
            LittleEndian::write(field, *value, width);
        return;
    }
}

} // namespace

bool DefaultFieldHandler(ParamMode mode, ParamFieldType type, int row, std::uint8_t* field,
                         std::uint32_t width, CGridCtrl& grid, ParamRecord& param)
{
    switch (mode) {
    case ParamMode::Show:
    case ParamMode::Setup:
        grid.SetCellText(row, ValueColumn, fieldText(type, field, width, param));
        return true;
    case ParamMode::Store:
        storeText(type, grid.GetCellText(row, ValueColumn), field, width, param);
        return true;
    case ParamMode::Validate:
        return defaultRefusal(type, isRegistrationNumber(field, param), width,
                              grid.GetCellText(row, ValueColumn))
                   .kind == Refusal::None;
    case ParamMode::BeginEdit:
        return true;
    }
    return true;
}

bool OdometerHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field,
                     std::uint32_t width, CGridCtrl& grid, ParamRecord&)
{
    switch (mode) {
    case ParamMode::Show:
    case ParamMode::Setup:
        grid.SetCellText(row, ValueColumn, QString::number(LittleEndian::read(field, width)));
        return true;
    case ParamMode::Store: {
        // A value above the maximum that came from the file and was not edited stays as it
        // is; only a typed one is clamped.
        const QString text = grid.GetCellText(row, ValueColumn);
        if (text == QString::number(LittleEndian::read(field, width)))
            return true;
        if (const auto value = ParseDigitsClamped(text, OdometerMax))
            LittleEndian::write(field, *value, width);
        return true;
    }
    case ParamMode::Validate:
        return odometerRefusal(grid.GetCellText(row, ValueColumn)).kind == Refusal::None;
    case ParamMode::BeginEdit:
        return true;
    }
    return true;
}

QString RefusalReason(const ParamDescriptor& row, const QString& text)
{
    Refusal refusal;
    if (!row.handler)
        refusal = defaultRefusal(row.type, row.isRegistrationNumber(), row.width, text);
    else if (row.handler == &OdometerHandler)
        refusal = odometerRefusal(text);
    else if (IsChoiceHandler(row.handler) &&
             !ChoiceLabels(row.handler).contains(text, Qt::CaseInsensitive))
        return Lang(StringId::NotInList).arg(text);

    switch (refusal.kind) {
    case Refusal::None:
        return {};
    case Refusal::TooManyUnits:
        return Lang(StringId::TextTooLongChars).arg(refusal.limit);
    case Refusal::NotANumber:
        return Lang(StringId::InvalidNumber).arg(text);
    case Refusal::TooLarge:
        return Lang(StringId::ValueTooLarge).arg(refusal.limit);
    case Refusal::TooLong:
        return Lang(StringId::TextTooLong).arg(refusal.limit);
    case Refusal::ZeroCharacter:
        return Lang(StringId::ZeroCharacter);
    case Refusal::Number:
        switch (refusal.number) {
        case RegistrationNumberFault::TooLong:
            return Lang(StringId::RegistrationTooLong);
        case RegistrationNumberFault::NoCodePage:
            return Lang(StringId::NoCodePageHolds).arg(text);
        default:
            return Lang(StringId::BadFolderName).arg(text);
        }
    }
    return {};
}
