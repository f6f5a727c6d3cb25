#pragma once

#include "lang/MenuBuilder.h"

#include <QAction>
#include <QList>

// The first of `actions` that carries `command`, as the menu and toolbar builders tag them;
// null when none does.
inline QAction* FindCommandAction(const QList<QAction*>& actions, int command)
{
    for (QAction* action : actions) {
        if (MenuBuilder::commandOf(action) == command)
            return action;
    }
    return nullptr;
}
