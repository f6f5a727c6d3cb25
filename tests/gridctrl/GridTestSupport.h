#pragma once

#include "gridctrl/CGridCellCombo.h"
#include "gridctrl/CGridCtrl.h"
#include "gridctrl/CInPlaceEdit.h"
#include "gridctrl/CInPlaceList.h"
#include "gridctrl/CTitleTip.h"

#include <QApplication>
#include <QStringList>
#include <QTest>

#include <functional>
#include <vector>

// A grid that records what reaches its editing hooks, the way a subclass that stores its
// cells into records sees them.
class RecordingGrid : public CGridCtrl {
public:
    struct EndCall {
        int row;
        int col;
        QString text;
        QString cellTextAfter;
    };

    std::vector<EndCall> ends;
    std::vector<int> beginKeys;
    int validations = 0;
    std::function<bool(const QString&)> validator;

    void BeginCellEdit(int row, int col, QPoint point, int key) override
    {
        beginKeys.push_back(key);
        CGridCtrl::BeginCellEdit(row, col, point, key);
    }
    void EndCellEdit(int row, int col, const QString& text) override
    {
        CGridCtrl::EndCellEdit(row, col, text);
        ends.push_back({row, col, text, GetCellText(row, col)});
    }
    bool ValidateCellEdit(int row, int col, const QString& text) override
    {
        ++validations;
        return validator ? validator(text) : CGridCtrl::ValidateCellEdit(row, col, text);
    }
};

// The parameter grid's shape: a fixed label column and one value column.
inline void BuildLabelGrid(CGridCtrl& grid, int rows)
{
    grid.SetColumns(2);
    grid.SetFixedColumns(1);
    grid.ResizeColumn(0, 120);
    grid.UpdateScrollRanges();
    for (int row = 0; row < rows; ++row) {
        grid.AppendRow(QStringLiteral("Label %1").arg(row));
        grid.ResizeColumn(1, 160);
    }
    grid.UpdateScrollRanges();
}

// Shows the grid and waits until it is the active window, so focus moves as on a desktop.
inline void ShowActive(QWidget& widget)
{
    widget.resize(400, 300);
    widget.show();
    widget.activateWindow();
    (void)QTest::qWaitForWindowActive(&widget);
    widget.setFocus();
}

inline CInPlaceEdit* TextEditor(const CGridCtrl& grid, int row, int col)
{
    const CGridCellBase* cell = grid.CellAt(row, col);
    return cell ? qobject_cast<CInPlaceEdit*>(cell->GetEditWnd()) : nullptr;
}

inline CInPlaceList* ListEditor(const CGridCtrl& grid, int row, int col)
{
    const CGridCellBase* cell = grid.CellAt(row, col);
    return cell ? qobject_cast<CInPlaceList*>(cell->GetEditWnd()) : nullptr;
}
