#include "params/ValueHints.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "params/FieldText.h"
#include "store/LittleEndian.h"

#include <cstdlib>

namespace {

using P = ParamRecord::Layout;
using G = GsmRecord::Layout;

std::uint64_t ParamNumber(const ParamRecord& param, std::size_t offset, std::size_t width)
{
    return LittleEndian::read(param.bytes.data() + offset, width);
}

bool OutsideRange(std::uint64_t value, std::uint64_t low, std::uint64_t high)
{
    return value != 0 && (value < low || value > high);
}

bool VinLooksRight(const QString& vin)
{
    if (vin.size() != PlausibleRange::VinLength)
        return false;
    for (const QChar c : vin.toUpper()) {
        const bool letter = c >= u'A' && c <= u'Z' && c != u'I' && c != u'O' && c != u'Q';
        if (!letter && !(c >= u'0' && c <= u'9'))
            return false;
    }
    return true;
}

// The grid rows that have a rule, in their order in the grid.
constexpr int kHintedRows[] = {
    StringId::Vin,      StringId::ConstantW, StringId::ConstantK, StringId::TyreCircumference,
    StringId::MaxSpeed, StringId::Imei,
};

} // namespace

bool ImeiCheckDigitValid(std::uint64_t imei)
{
    const QString digits = QString::number(imei);
    if (digits.size() != PlausibleRange::ImeiDigits)
        return false;
    // Luhn: from the right, every second digit is doubled and its digits added.
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        int digit = digits.at(digits.size() - 1 - i).digitValue();
        if (i % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    return sum % 10 == 0;
}

QString HintForValue(int labelId, const ParamRecord& param, const GsmRecord& gsm)
{
    namespace R = PlausibleRange;
    const std::uint64_t w = ParamNumber(param, P::ConstantWOffset, P::UInt16Width);
    switch (labelId) {
    case StringId::ConstantW:
        return OutsideRange(w, R::PulsesMin, R::PulsesMax) ? Lang(StringId::HintConstantW)
                                                           : QString();
    case StringId::ConstantK: {
        const std::uint64_t k = ParamNumber(param, P::ConstantKOffset, P::UInt16Width);
        if (OutsideRange(k, R::PulsesMin, R::PulsesMax))
            return Lang(StringId::HintConstantK);
        // More than 1% apart: 100 * |K - W| > W, kept in whole numbers.
        const auto apart = static_cast<std::uint64_t>(
            std::llabs(static_cast<long long>(k) - static_cast<long long>(w)));
        return k != 0 && w != 0 && 100 * apart > w ? Lang(StringId::HintKAwayFromW) : QString();
    }
    case StringId::TyreCircumference:
        return OutsideRange(ParamNumber(param, P::TyreCircumferenceOffset, P::UInt16Width),
                            R::TyreMin, R::TyreMax)
                   ? Lang(StringId::HintTyreCircumference)
                   : QString();
    case StringId::MaxSpeed:
        return ParamNumber(param, P::MaxSpeedOffset, P::MaxSpeedWidth) > R::SpeedMax
                   ? Lang(StringId::HintMaxSpeed)
                   : QString();
    case StringId::Vin: {
        const QString vin = DecodeSingleByteText(param.bytes.data() + P::VinOffset, P::VinWidth);
        return !vin.isEmpty() && !VinLooksRight(vin) ? Lang(StringId::HintVin) : QString();
    }
    case StringId::Imei: {
        const std::uint64_t imei =
            LittleEndian::read(gsm.bytes.data() + G::ImeiOffset, G::ImeiWidth);
        return imei != 0 && !ImeiCheckDigitValid(imei) ? Lang(StringId::HintImei) : QString();
    }
    default:
        return QString();
    }
}

QList<ValueHint> UnusualValues(const ParamRecord& param, const GsmRecord& gsm)
{
    QList<ValueHint> hints;
    for (const int labelId : kHintedRows) {
        const QString text = HintForValue(labelId, param, gsm);
        if (!text.isEmpty())
            hints.append({labelId, text});
    }
    return hints;
}

QString UnusualValuesSummary(const ParamRecord& param, const GsmRecord& gsm)
{
    const QList<ValueHint> hints = UnusualValues(param, gsm);
    if (hints.isEmpty())
        return QString();
    QStringList labels;
    for (const ValueHint& hint : hints)
        labels.append(Lang(hint.labelId));
    return Lang(StringId::SavedWithUnusualValues)
        .arg(hints.size())
        .arg(labels.join(QStringLiteral(", ")));
}
