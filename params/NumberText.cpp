#include "params/NumberText.h"

#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The value of the digits, or none when a character is not a digit. `tooLarge` tells that
// the value went past `limit`; it is checked before each step, so nothing overflows.
std::optional<std::uint64_t> accumulate(QStringView text, std::uint64_t limit, bool& tooLarge)
{
    constexpr std::uint64_t Max = std::numeric_limits<std::uint64_t>::max();
    tooLarge = false;
    std::uint64_t value = 0;
    for (QChar c : text) {
        if (!isDigit(c))
            return std::nullopt;
        if (tooLarge)
            continue;
        const auto digit = static_cast<std::uint64_t>(c.unicode() - u'0');
        if (value > (Max - digit) / 10 || value * 10 + digit > limit)
            tooLarge = true;
        else
            value = value * 10 + digit;
    }
    return value;
}

} // namespace

std::uint64_t MaxValueOfWidth(std::size_t width)
{
    if (width >= 8)
        return std::numeric_limits<std::uint64_t>::max();
    return (std::uint64_t{1} << (8 * width)) - 1;
}

std::optional<std::uint64_t> ParseDigits(QStringView text, std::uint64_t maxValue)
{
    bool tooLarge = false;
    const auto value = accumulate(text, maxValue, tooLarge);
    if (!value || tooLarge)
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> ParseDigitsClamped(QStringView text, std::uint64_t ceiling)
{
    bool tooLarge = false;
    const auto value = accumulate(text, ceiling, tooLarge);
    if (!value)
        return std::nullopt;
    return tooLarge ? ceiling : *value;
}
