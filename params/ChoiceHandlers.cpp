#include "params/CurrentRecords.h"
#include "params/FieldHandlers.h"
#include "params/ValueLists.h"

#include "gridctrl/CGridCellCombo.h"
#include "gridctrl/CGridCtrl.h"
#include "lang/LanguagePack.h"
#include "store/LittleEndian.h"

namespace {

constexpr int ValueColumn = 1;

// Nation and purpose: labels from the language pack, one-byte codes. A code in no entry
// empties the cell.
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
    case ParamMode::Store: {
        // An empty cell (a code in no entry) must not match a label missing from the pack.
        const QString text = grid.GetCellText(row, ValueColumn);
        for (const Entry* e = list; e->labelId != 0 && !text.isEmpty(); ++e) {
            if (Lang(static_cast<int>(e->labelId)) == text) {
                *field = e->code;
                return true;
            }
        }
        return true;
    }
    case ParamMode::Setup:
    case ParamMode::BeginEdit:
    case ParamMode::Validate:
        return true;
    }
    return true;
}

template <typename Entry> QStringList labelsOf(const Entry* list)
{
    QStringList labels;
    for (const Entry* e = list; e->labelId != 0; ++e)
        labels << Lang(static_cast<int>(e->labelId));
    return labels;
}

// Protocol and period: fixed texts and codes of `width` bytes. A code in no entry leaves the
// cell as it was.
template <typename Entry>
bool fixedChoice(const Entry* list, ParamMode mode, int row, std::uint8_t* field,
                 std::uint32_t width, CGridCtrl& grid)
{
    switch (mode) {
    case ParamMode::Setup: {
        QStringList texts;
        for (const Entry* e = list; e->text; ++e)
            texts << QString::fromLatin1(e->text);
        MakeComboCell(row, texts, grid);
        grid.SetCellText(row, ValueColumn, texts.first());
        return true;
    }
    case ParamMode::Show: {
        const std::uint64_t code = LittleEndian::read(field, width);
        for (const Entry* e = list; e->text; ++e) {
            if (e->code == code) {
                grid.SetCellText(row, ValueColumn, QString::fromLatin1(e->text));
                return true;
            }
        }
        return true;
    }
    case ParamMode::Store: {
        const QString text = grid.GetCellText(row, ValueColumn);
        for (const Entry* e = list; e->text; ++e) {
            if (text == QLatin1String(e->text)) {
                LittleEndian::write(field, e->code, width);
                return true;
            }
        }
        return true;
    }
    case ParamMode::BeginEdit:
    case ParamMode::Validate:
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
                    CGridCtrl& grid)
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
                   CGridCtrl& grid)
{
    if (mode == ParamMode::Setup) {
        // New records name ISO/IEC 8859-5 (Cyrillic) as the registration number's code page.
        CurrentParamRecord().bytes[ParamRecord::Layout::CodePageOffset] =
            ParamRecord::DefaultCodePage;
        grid.SetCellText(row, ValueColumn,
                         ValueLabel(QStringLiteral("country"), DefaultNationCode));
        MakeComboCell(row, labelsOf(NationList.data()), grid);
        return true;
    }
    return labelledChoice(NationList.data(), mode, row, field, grid);
}

bool ProtocolHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field,
                     std::uint32_t width, CGridCtrl& grid)
{
    return fixedChoice(ProtocolList.data(), mode, row, field, width, grid);
}

bool PeriodHandler(ParamMode mode, ParamFieldType, int row, std::uint8_t* field,
                   std::uint32_t width, CGridCtrl& grid)
{
    return fixedChoice(PeriodList.data(), mode, row, field, width, grid);
}
