#include "gridctrl/CGridCellCombo.h"

#include "gridctrl/CGridCtrl.h"
#include "gridctrl/CInPlaceList.h"

bool CGridCellCombo::Edit(int row, int col, const QRect& rect, QPoint, int, int key)
{
    if (IsEditing())
        return true;
    if (!GetGrid())
        return false;
    SetEditor(new CInPlaceList(GetGrid(), rect, m_style, m_options, row, col, GetText(), key));
    return true;
}
