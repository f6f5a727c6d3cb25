#include "params/ValueLists.h"

#include "lang/LanguagePack.h"

const std::array<NationEntry, 56> NationList = {{
    {101, 1},  {102, 2},  {103, 3},  {105, 4},  {106, 5},   {129, 6},   {130, 7},   {131, 8},
    {132, 9},  {133, 10}, {134, 11}, {135, 12}, {136, 13},  {137, 14},  {138, 15},  {139, 16},
    {140, 17}, {141, 18}, {142, 19}, {143, 20}, {144, 21},  {145, 22},  {146, 23},  {147, 24},
    {148, 25}, {149, 26}, {150, 27}, {151, 28}, {152, 29},  {153, 30},  {154, 31},  {155, 32},
    {156, 33}, {157, 34}, {158, 35}, {159, 36}, {160, 37},  {161, 38},  {162, 39},  {163, 40},
    {164, 41}, {165, 42}, {166, 43}, {167, 44}, {168, 45},  {169, 46},  {170, 47},  {171, 48},
    {172, 49}, {173, 50}, {174, 51}, {175, 52}, {176, 253}, {177, 254}, {178, 255}, {0, 0},
}};

const std::array<PurposeEntry, 4> PurposeList = {{
    {179, 2},
    {180, 1},
    {181, 4},
    {0, 0},
}};

const std::array<ProtocolEntry, 3> ProtocolList = {{
    {0, "TCP"},
    {1, "UDP"},
    {0, nullptr},
}};

const std::array<PeriodEntry, 24> PeriodList = {{
    {"OFF", 0},       {"15 sec.", 1},  {"30 sec.", 2},  {"45 sec.", 3},  {"1 min.", 4},
    {"1:30 min.", 5}, {"2 min.", 6},   {"3 min.", 7},   {"5 min.", 8},   {"10 min.", 9},
    {"15 min.", 10},  {"20 min.", 11}, {"30 min.", 12}, {"45 min.", 13}, {"1 h.", 14},
    {"1:30 h.", 15},  {"2 h.", 16},    {"3 h.", 17},    {"4 h.", 18},    {"5 h.", 19},
    {"8 h.", 20},     {"12 h.", 21},   {"24 h.", 22},   {nullptr, 0},
}};

namespace {

template <typename Entry> QString labelOf(const Entry* list, std::uint32_t code)
{
    for (const Entry* e = list; e->labelId != 0; ++e) {
        if (e->code == code)
            return Lang(static_cast<int>(e->labelId));
    }
    return {};
}

} // namespace

QString ValueLabel(const QString& key, std::uint32_t code)
{
    if (key == QLatin1String("country"))
        return labelOf(NationList.data(), code);
    if (key == QLatin1String("purpose"))
        return labelOf(PurposeList.data(), code);
    if (key == QLatin1String("protocol")) {
        for (const ProtocolEntry* e = ProtocolList.data(); e->text; ++e) {
            if (e->code == code)
                return EntryText(*e);
        }
        return {};
    }
    if (key == QLatin1String("period")) {
        const auto low = static_cast<std::uint8_t>(code & 0xFF);
        for (const PeriodEntry* e = PeriodList.data(); e->text; ++e) {
            if (e->code == low)
                return EntryText(*e);
        }
    }
    return {};
}

QString EntryText(const ProtocolEntry& entry)
{
    return QString::fromLatin1(entry.text);
}

QString EntryText(const PeriodEntry& entry)
{
    const QString text = Lang(kPeriodTextBase + static_cast<int>(entry.code));
    return text.isEmpty() ? QString::fromLatin1(entry.text) : text;
}
