#pragma once

#include "navigation/cTree.h"

#include <QTest>

// The tree reads folders and calibrations on workers; a test looks once they have arrived.
inline bool WaitForTree(const cTree& tree, int ms = 10000)
{
    return QTest::qWaitFor([&tree] { return !tree.ListingsPending() && !tree.LoadPending(); },
                           ms);
}

inline bool RebuildAndWait(cTree& tree)
{
    tree.Rebuild();
    return WaitForTree(tree);
}
