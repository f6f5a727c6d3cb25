#include "params/FieldHandlers.h"
#include "params/ParamRecord.h"
#include "params/ValueLists.h"

#include "gridctrl/CGridCellCombo.h"
#include "gridctrl/CGridCtrl.h"
#include "lang/LanguagePack.h"
#include "store/LittleEndian.h"

namespace {

constexpr int ValueColumn = 1;

template <typename Entry> QStringList labelsOf(const Entry* list)
{
    QStringList labels;
    for (const Entry* e = list; e->labelId != 0; ++e)
        labels << Lang(static_cast<int>(e->labelId));
    return labels;
}

// A drop-down row takes only its list's texts; the case of a typed text does not matter.
bool isListLabel(const QStringList& labels, const QString& text)
{
    return !text.isEmpty() && labels.contains(text, Qt::CaseInsensitive);
}

// True when the cell shows `label`, in any case; the cell then shows it as the list has it,
// so the screen and the record agree.
bool takeLabel(const QString& label, int row, CGridCtrl& grid)
{
    const QString text = grid.GetCellText(row, ValueColumn);
    if (label.isEmpty() || text.compare(label, Qt::CaseInsensitive) != 0)
        return false;
    if (text != label)
        grid.SetCellText(row, ValueColumn, label);
    return true;
}

// Nation and purpose: labels from the language pack, one-byte codes. A code in no entry
// empties the cell; the store keeps the code then.
template <typename Entry>
bool labelledChoice(const Entry* list, ParamMode mode, int row, std::uint8_t* field,
                    CGridCtrl& grid)
{
    switch (mode) {
    case ParamMode::Show:
        for (const Entry* e = list; e->labelId != 0; ++e) {
            if (e->code == *field) {
                grid.SetCellText(row, ValueColumn, Lang(static_cast<int>(e->labelId)));
                return true;
            }
        }
        grid.SetCellText(row, ValueColumn, QString());
        return true;
    case ParamMode::Store:
        // An empty cell (a code in no entry) must not match a label missing from the pack.
        for (const Entry* e = list; e->labelId != 0; ++e) {
            if (takeLabel(Lang(static_cast<int>(e->labelId)), row, grid)) {
                *field = e->code;
                return true;
            }
        }
        return true;
    case ParamMode::Validate:
        return isListLabel(labelsOf(list), grid.GetCellText(row, ValueColumn));
    case ParamMode::Setup:
    case ParamMode::BeginEdit:
        return true;
    }
    return true;
}

template <typename Entry> QStringList textsOf(const Entry* list)
{
    QStringList texts;
    for (const Entry* e = list; e->text; ++e)
        texts << EntryText(*e);
    return texts;
}

// Protocol and period: the lists' own texts and codes of `width` bytes.
template <typename Entry>
bool fixedChoice(const Entry* list, ParamMode mode, int row, std::uint8_t* field,
                 std::uint32_t width, CGridCtrl& grid)
{
    switch (mode) {
    case ParamMode::Setup: {
        const QStringList texts = textsOf(list);
        MakeComboCell(row, texts, grid);
        grid.SetCellText(row, ValueColumn, texts.first());
        return true;
    }
    case ParamMode::Show: {
        const std::uint64_t code = LittleEndian::read(field, width);
        for (const Entry* e = list; e->text; ++e) {
            if (e->code == code) {
                grid.SetCellText(row, ValueColumn, EntryText(*e));
                return true;
            }
        }
        // A code in no entry shows an empty cell; the store keeps the code.
        grid.SetCellText(row, ValueColumn, QString());
        return true;
    }
    case ParamMode::Store:
        for (const Entry* e = list; e->text; ++e) {
            if (takeLabel(EntryText(*e), row, grid)) {
                LittleEndian::write(field, e->code, width);
                return true;
            }
        }
        return true;
    case ParamMode::Validate:
        return isListLabel(textsOf(list), grid.GetCellText(row, ValueColumn));
    case ParamMode::BeginEdit:
        return true;
    }
    return true;
}

} // namespace

void MakeComboCell(int row, const QStringList& texts, CGridCtrl& grid)
{
    if (!grid.SetCellClass<CGridCellCombo>(row, ValueColumn))
        return;
    auto* combo = static_cast<CGridCellCombo*>(grid.CellAt(row, ValueColumn));
    combo->SetOptions(texts);
    combo->SetStyle(CGridCellCombo::DropDown);
}

bool PurposeHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field, std::uint32_t,
                    CGridCtrl& grid, ParamRecord&)
{
    if (mode == ParamMode::Setup) {
        const QStringList labels = labelsOf(PurposeList.data());
        MakeComboCell(row, labels, grid);
        grid.SetCellText(row, ValueColumn, labels.first());
        return true;
    }
    return labelledChoice(PurposeList.data(), mode, row, field, grid);
}

bool NationHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field, std::uint32_t,
                   CGridCtrl& grid, ParamRecord& param)
{
    if (mode == ParamMode::Setup) {
        // New records name ISO/IEC 8859-5 (Cyrillic) as the registration number's code page.
        param.bytes[ParamRecord::Layout::CodePageOffset] = ParamRecord::DefaultCodePage;
        grid.SetCellText(row, ValueColumn,
                         ValueLabel(QStringLiteral("country"), DefaultNationCode));
        MakeComboCell(row, labelsOf(NationList.data()), grid);
        return true;
    }
    return labelledChoice(NationList.data(), mode, row, field, grid);
}

bool ProtocolHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field,
                     std::uint32_t width, CGridCtrl& grid, ParamRecord&)
{
    return fixedChoice(ProtocolList.data(), mode, row, field, width, grid);
}

bool PeriodHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field,
                   std::uint32_t width, CGridCtrl& grid, ParamRecord&)
{
    return fixedChoice(PeriodList.data(), mode, row, field, width, grid);
}

bool IsChoiceHandler(FieldHandler handler)
{
    return handler == &PurposeHandler || handler == &NationHandler || handler == &ProtocolHandler ||
           handler == &PeriodHandler;
}

QStringList ChoiceLabels(FieldHandler handler)
{
    if (handler == &PurposeHandler)
        return labelsOf(PurposeList.data());
    if (handler == &NationHandler)
        return labelsOf(NationList.data());
    if (handler == &ProtocolHandler)
        return textsOf(ProtocolList.data());
    if (handler == &PeriodHandler)
        return textsOf(PeriodList.data());
    return {};
}
