#include "fuzz/FuzzCheck.h"
#include "params/NumberText.h"

#include <QCoreApplication>

#include <optional>

// The number fields' decimal text against a reference that cannot overflow: digits summed
// by hand in 128 bits, saturating far above any 64-bit value.
namespace {

__extension__ using Wide = unsigned __int128;
constexpr Wide kSaturated = Wide{1} << 100;

// The value of the text, kSaturated when it is beyond 2^100; none when a character is not
// one of 0 to 9.
std::optional<Wide> Reference(const QString& text)
{
    Wide value = 0;
    for (const QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > kSaturated)
            value = kSaturated;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::Input in(data, size);
    const std::size_t width = in.byte() % 8 + 1;
    std::uint64_t ceiling = 0;
    for (int i = 0; i < 8; ++i)
        ceiling = ceiling << 8 | in.byte();
    const QString text = QString::fromUtf8(in.rest());

    const Wide widest = (Wide{1} << (8 * width)) - 1;
    const std::uint64_t maxValue = MaxValueOfWidth(width);
    FUZZ_CHECK(Wide{maxValue} == widest);

    const std::optional<Wide> expected = Reference(text);
    const std::optional<std::uint64_t> parsed = ParseDigits(text, maxValue);
    if (!expected || *expected > maxValue)
        FUZZ_CHECK(!parsed);
    else
        FUZZ_CHECK(parsed && Wide{*parsed} == *expected);

    const std::optional<std::uint64_t> clamped = ParseDigitsClamped(text, ceiling);
    FUZZ_CHECK(clamped.has_value() == expected.has_value());
    if (expected)
        FUZZ_CHECK(Wide{*clamped} == (*expected > ceiling ? Wide{ceiling} : *expected));
    return 0;
}
