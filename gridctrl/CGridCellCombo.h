#pragma once

#include "gridctrl/CGridCell.h"

#include <QStringList>

// A cell edited through a drop-down (CInPlaceList). Style DropDown has an edit field, so any
// text can be typed; DropDownList allows only the listed options.
class CGridCellCombo : public CGridCell {
public:
    static constexpr int DropDown = 2, DropDownList = 3;

    void SetOptions(const QStringList& options) { m_options = options; }
    QStringList GetOptions() const { return m_options; }
    void SetStyle(int style) { m_style = style; }
    int GetStyle() const { return m_style; }

    bool Edit(int row, int col, const QRect& rect, QPoint point, int id, int key) override;

private:
    QStringList m_options;
    int m_style = DropDown;
};
