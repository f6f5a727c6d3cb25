#pragma once

#include "params/cTDGrid.h"

#include <QApplication>
#include <QTest>

// Types into the grid as a user does: each key goes to whatever has the focus, so the first
// one opens the cell editor and the rest go into it. The edit is left open.
inline void typeKeys(cTDGrid* grid, int row, const QString& keys)
{
    grid->setFocus();
    grid->SetFocusCell(row, 1);
    for (const QChar c : keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
        QTest::keyClick(target, c.toLatin1());
    }
}
