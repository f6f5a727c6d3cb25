#include "gridctrl/CGridCell.h"

#include "gridctrl/CGridCtrl.h"
#include "gridctrl/CInPlaceEdit.h"
#include "gridctrl/CInPlaceList.h"

CGridCell::~CGridCell() = default;

const QFont* CGridCell::GetFont() const
{
    if (m_font)
        return m_font.get();
    return GetDefaultCell() ? GetDefaultCell()->GetFont() : nullptr;
}

void CGridCell::SetFont(const QFont* font)
{
    m_font = font ? std::make_unique<QFont>(*font) : nullptr;
}

bool CGridCell::Edit(int row, int col, const QRect& rect, QPoint, int, int key)
{
    if (IsEditing())
        return true;
    if (!GetGrid())
        return false;
    SetEditor(new CInPlaceEdit(GetGrid(), rect, row, col, GetText(), key));
    return true;
}

void CGridCell::EndEdit()
{
    if (auto* edit = qobject_cast<CInPlaceEdit*>(GetEditWnd()))
        edit->EndEdit();
    else if (auto* list = qobject_cast<CInPlaceList*>(GetEditWnd()))
        list->EndEdit();
}
